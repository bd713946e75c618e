#include "dialogs/FindReplaceDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindReplaceDlg::CFindReplaceDlg(QWidget* parent)
    : QDialog(parent),
      m_what(new QLineEdit(this)),
      m_replacement(new QLineEdit(this)),
      m_wholeWord(new QCheckBox(tr("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(tr("Match &case"), this)),
      m_wrapAround(new QCheckBox(tr("W&rap around"), this)),
      m_up(new QRadioButton(tr("&Up"), this)),
      m_down(new QRadioButton(tr("&Down"), this)),
      m_findNext(new QPushButton(tr("&Find Next"), this)),
      m_replace(new QPushButton(tr("&Replace"), this)),
      m_replaceAll(new QPushButton(tr("Replace &All"), this)),
      m_replaceRow(new QWidget(this)) {
  m_what->setObjectName(QStringLiteral("what"));
  m_replacement->setObjectName(QStringLiteral("replacement"));
  m_wrapAround->setChecked(true);
  m_down->setChecked(true);

  auto* fields = new QFormLayout;
  auto* whatLabel = new QLabel(tr("Fi&nd what:"), this);
  whatLabel->setBuddy(m_what);
  fields->addRow(whatLabel, m_what);
  auto* replaceLayout = new QFormLayout(m_replaceRow);
  replaceLayout->setContentsMargins(0, 0, 0, 0);
  auto* replacementLabel = new QLabel(tr("Re&place with:"), this);
  replacementLabel->setBuddy(m_replacement);
  replaceLayout->addRow(replacementLabel, m_replacement);
  // The two labels share one column width, so the fields line up.
  whatLabel->setMinimumWidth(replacementLabel->sizeHint().width());

  auto* direction = new QGroupBox(tr("Direction"), this);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(m_up);
  directionLayout->addWidget(m_down);
  auto* options = new QVBoxLayout;
  options->addWidget(m_wholeWord);
  options->addWidget(m_matchCase);
  options->addWidget(m_wrapAround);
  auto* optionsRow = new QHBoxLayout;
  optionsRow->addLayout(options);
  optionsRow->addWidget(direction);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addWidget(m_replaceRow);
  left->addLayout(optionsRow);
  left->addStretch();

  auto* close = new QPushButton(tr("Close"), this);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(m_findNext);
  buttons->addWidget(m_replace);
  buttons->addWidget(m_replaceAll);
  buttons->addWidget(close);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  m_findNext->setDefault(true);
  connect(m_findNext, &QPushButton::clicked, this, &CFindReplaceDlg::findNext);
  connect(m_replace, &QPushButton::clicked, this, &CFindReplaceDlg::replace);
  connect(m_replaceAll, &QPushButton::clicked, this, &CFindReplaceDlg::replaceAll);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(m_what, &QLineEdit::textChanged, this, &CFindReplaceDlg::UpdateButtons);
  UpdateButtons();
}

void CFindReplaceDlg::Open(bool replacing, const QString& what) {
  m_replacing = replacing;
  setWindowTitle(replacing ? tr("Replace") : tr("Find"));
  m_replaceRow->setVisible(replacing);
  m_replace->setVisible(replacing);
  m_replaceAll->setVisible(replacing);
  if (!what.isEmpty()) m_what->setText(what);
  adjustSize();
  show();
  raise();
  activateWindow();
  m_what->setFocus();
  m_what->selectAll();
}

FindOptions CFindReplaceDlg::Options() const {
  return {m_what->text(),        m_replacement->text(), m_matchCase->isChecked(), m_wholeWord->isChecked(),
          m_up->isChecked(), m_wrapAround->isChecked()};
}

void CFindReplaceDlg::UpdateButtons() {
  const bool any = !m_what->text().isEmpty();
  m_findNext->setEnabled(any);
  m_replace->setEnabled(any);
  m_replaceAll->setEnabled(any);
}
