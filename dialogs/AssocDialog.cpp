#include "dialogs/AssocDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/StringTableText.h"
#include "res/StringTable.h"

namespace {

// The wait cursor while the desktop's tools rebuild their databases.
class CWaitCursor {
 public:
  CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace

CAssocDlg::CAssocDlg(QWidget* parent) : CAssocDlg(sonavel::CFileAssociations(), parent) {}

CAssocDlg::CAssocDlg(const sonavel::CFileAssociations& associations, QWidget* parent)
    : QDialog(parent), m_associations(associations) {
  CreateControls();
  const sonavel::FileTypeSelection registered = m_associations.Registered();
  m_crd->setChecked(registered[0]);
  m_cho->setChecked(registered[1]);
  m_chopro->setChecked(registered[2]);
  m_tab->setChecked(registered[3]);
}

void CAssocDlg::CreateControls() {
  setWindowTitle(tr("Associations"));
  const auto makeBox = [this](const QString& text, const char* name) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };
  m_crd = makeBox(tr("Chord file (*.crd)"), "crd");
  m_cho = makeBox(tr("Chord file (*.cho)"), "cho");
  m_chopro = makeBox(tr("Chord pro file (*.chopro)"), "chopro");
  m_tab = makeBox(tr("Tablature (*.tab)"), "tab");

  auto* group = new QGroupBox(tr("Select file types"), this);
  auto* boxes = new QVBoxLayout(group);
  for (QCheckBox* box : {m_crd, m_cho, m_chopro, m_tab}) boxes->addWidget(box);

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  connect(ok, &QPushButton::clicked, this, &CAssocDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CAssocDlg::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

sonavel::FileTypeSelection CAssocDlg::Chosen() const {
  return {m_crd->isChecked(), m_cho->isChecked(), m_chopro->isChecked(), m_tab->isChecked()};
}

void CAssocDlg::accept() {
  const sonavel::FileTypeSelection chosen = Chosen();
  if (std::find(chosen.begin(), chosen.end(), true) == chosen.end()) {
    QDialog::accept();
    return;
  }
  bool registered = false;
  {
    const CWaitCursor wait;
    registered = m_associations.Register(chosen);
  }
  const QString title = sonavel::StringTableText(sonavel::IDS_APP_TITLE);
  if (registered) {
    QMessageBox::information(this, title, sonavel::StringTableText(sonavel::IDS_ASSOCIATED));
  } else {
    QMessageBox::warning(this, title, sonavel::StringTableText(sonavel::IDS_CANNOT_ASSOCIATE));
  }
  QDialog::accept();
}

void RunAssociationsDialog(QWidget* parent) {
  CAssocDlg dialog(parent);
  dialog.exec();
}
