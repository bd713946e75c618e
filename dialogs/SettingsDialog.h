#pragma once

#include <QDialog>
#include <functional>

#include "document/Settings.h"

class QCheckBox;
class QTextEdit;

// The Settings dialog: the colours, font, switches and default transposing
// options of the program. It edits a working copy of theSettings(), shown in
// a live sample; OK assigns the copy to theSettings() and saves it, Cancel
// drops it. Open documents keep the options they took when they were made.
//
// Object names of the controls: the buttons "textColor", "tabColor",
// "chordColor", "backgroundColor", "font", "transposing", "defaultValues",
// "associate"; the check boxes "useSystemBackground", "chordInBrackets",
// "wordWrap", "quickExit", "autoColor", "autoColorOnOpen"; "sample".
class CSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  // Opens the file-type associations over the given window.
  using AssociateFunction = std::function<void(QWidget* parent)>;

  // Without an associate function the dialog has no Associate button.
  explicit CSettingsDlg(AssociateFunction associate = {}, QWidget* parent = nullptr);

  // Runs the dialog modally over `parent`. What OK changes is in
  // theSettings() afterwards.
  static void Run(QWidget* parent, AssociateFunction associate);

  const sonavel::CSettings& WorkingCopy() const { return m_settings; }
  QTextEdit* Sample() const { return m_sample; }

 public slots:
  void accept() override;

 private slots:
  void OnTextColor();
  void OnTabColor();
  void OnChordColor();
  void OnBackgroundColor();
  void OnUseSystemColors();
  void OnFont();
  void OnDefaultValues();
  void OnTransposingSettings();
  void OnAssociate();

 private:
  void CreateControls();
  // The six switches of the working copy into their check boxes.
  void UpdateCheckBoxes();
  // Repairs colours that could not be told apart, then shows the working copy.
  void UpdateSample();
  void PickColor(sonavel::ColorRef& color);

  sonavel::CSettings m_settings;
  AssociateFunction m_associate;

  QTextEdit* m_sample = nullptr;
  QCheckBox* m_bUseSystemBackground = nullptr;
  QCheckBox* m_bQuickExit = nullptr;
  QCheckBox* m_bAutoColor = nullptr;
  QCheckBox* m_bChordInBrackets = nullptr;
  QCheckBox* m_bWordWrap = nullptr;
  QCheckBox* m_bAutoColorOnOpen = nullptr;
};
