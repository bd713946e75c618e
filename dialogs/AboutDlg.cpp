#include "dialogs/AboutDlg.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "dialogs/HyperLink.h"
#include "document/StringTableText.h"
#include "shell/PathUtils.h"

#ifndef SONAVEL_VERSION
#error "SONAVEL_VERSION must name the version being built"
#endif

namespace {

constexpr int kIconSize = 32;

// The link texts are the addresses without the "URL:" or "mailto:" the
// targets carry, so that each address is written once.
QString ShownAddress(int stringId) {
  static const QRegularExpression scheme(QStringLiteral("^(URL|mailto):"), QRegularExpression::CaseInsensitiveOption);
  return sonavel::StringTableText(stringId).remove(scheme);
}

QLabel* IconLabel(const QString& resource, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(QIcon(resource).pixmap(QSize(kIconSize, kIconSize), parent->devicePixelRatioF()));
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Sonavel"));

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::reject);

  auto* version = new QLabel(VersionText(), this);
  version->setObjectName(QStringLiteral("version"));
  version->setTextFormat(Qt::PlainText);

  m_linkWeb = new CHyperLink(ShownAddress(sonavel::IDS_MAKER_WEB_PAGE), this);
  m_linkWeb->setObjectName(QStringLiteral("linkWeb"));
  m_linkMail = new CHyperLink(ShownAddress(sonavel::IDS_MAKER_MAIL), this);
  m_linkMail->setObjectName(QStringLiteral("linkMail"));

  // The text ends in a space and stands right against the link, so that the
  // two read as one sentence.
  auto* moreInformation = new QLabel(tr("More information and help will be found in "), this);
  moreInformation->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_linkReadMe = new CHyperLink(tr("ReadMe file"), this);
  m_linkReadMe->setObjectName(QStringLiteral("linkReadMe"));

  auto* grid = new QGridLayout;
  grid->addWidget(IconLabel(QStringLiteral(":/icons/sonavel.svg"), this), 0, 0, Qt::AlignTop);
  grid->addWidget(version, 0, 1, Qt::AlignTop);
  grid->addWidget(ok, 0, 2, Qt::AlignTop);
  grid->addWidget(IconLabel(QStringLiteral(":/icons/sonavel-document.svg"), this), 1, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(m_linkWeb, 1, 1, 1, 2);
  grid->addWidget(m_linkMail, 2, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowMinimumHeight(0, kIconSize + 4);

  auto* readMeLine = new QHBoxLayout;
  readMeLine->setSpacing(0);
  readMeLine->addWidget(moreInformation, 1);
  readMeLine->addWidget(m_linkReadMe);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(readMeLine);
  outer->setSizeConstraint(QLayout::SetFixedSize);

  m_linkWeb->SetTargetFromString(sonavel::IDS_MAKER_WEB_PAGE);
  m_linkMail->SetTargetFromString(sonavel::IDS_MAKER_MAIL);
  m_linkReadMe->SetTarget(ReadMeTarget());
  ok->setFocus();
}

QString CAboutDlg::VersionText() {
  return QStringLiteral("%1 %2").arg(sonavel::StringTableText(sonavel::IDS_APP_TITLE), QStringLiteral(SONAVEL_VERSION));
}

QString CAboutDlg::ReadMeTarget() {
  const QString name = sonavel::StringTableText(sonavel::IDS_README_FILE);
  const QString found = FindProgramFile(name);
  return found.isEmpty() ? ProgramPath(true) + name : found;
}
