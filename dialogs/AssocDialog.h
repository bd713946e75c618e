#pragma once

#include <QDialog>

#include "shell/FileAssociations.h"

class QCheckBox;
class QWidget;

// The Associations dialog: the user picks which song file types the desktop
// opens with this program. The boxes start as the desktop has them now; OK
// registers the ticked types and reports the outcome, Cancel writes nothing.
//
// Object names of the check boxes: "crd", "cho", "chopro", "tab".
class CAssocDlg : public QDialog {
  Q_OBJECT

 public:
  // Registers for the running program in the user's XDG folders.
  explicit CAssocDlg(QWidget* parent = nullptr);
  CAssocDlg(const sonavel::CFileAssociations& associations, QWidget* parent = nullptr);

  // The ticked boxes, in the order of sonavel::kFileTypes.
  sonavel::FileTypeSelection Chosen() const;

 public slots:
  void accept() override;

 private:
  void CreateControls();

  sonavel::CFileAssociations m_associations;

  QCheckBox* m_crd = nullptr;
  QCheckBox* m_cho = nullptr;
  QCheckBox* m_chopro = nullptr;
  QCheckBox* m_tab = nullptr;
};

// Runs the Associations dialog modally.
void RunAssociationsDialog(QWidget* parent);
