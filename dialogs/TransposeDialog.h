#pragma once

#include <QDialog>

#include "dialogs/SampleLook.h"
#include "engine/TransposeOptions.h"

class QCheckBox;
class QComboBox;
class QTextEdit;
class CIntegerSpinEdit;

// The Transpose dialog: edits the seven transposing options and shows a live
// before-and-after sample. It transposes nothing and keeps no settings; the
// caller puts options in, runs it modally and takes Options() after OK.
//
// Object names of the controls: "steps", "key", "bIsBess", "transposeTabs",
// "transposeChords", "tabMaxValue", "tabMiniValue", "sample".
class CTransposeDlg : public QDialog {
  Q_OBJECT

 public:
  // The sample takes its look from the program-wide settings.
  explicit CTransposeDlg(const sonavel::TransposeOptions& options, QWidget* parent = nullptr);
  CTransposeDlg(const sonavel::TransposeOptions& options, const sonavel::SampleLook& look,
                QWidget* parent = nullptr);

  // After OK: the values of the dialog. Otherwise: the values put in.
  sonavel::TransposeOptions Options() const { return m_result; }

  QTextEdit* Sample() const { return m_sample; }

 public slots:
  // Stays open, with a prompt, while a number field holds no integer.
  void accept() override;

 private slots:
  void UpdateSample();

 private:
  void CreateControls();
  void FillKeyList();
  void ShowOptions(const sonavel::TransposeOptions& options);
  void ConnectLiveUpdates();
  // Background, face and effects, and a size that holds the whole sample.
  void ApplyLookToSample();
  // Reads every control into `options`. A number field that holds no integer
  // leaves its value in `options` as it was; the first such field, in the
  // order of the dialog, is returned.
  CIntegerSpinEdit* ReadControls(sonavel::TransposeOptions& options) const;

  sonavel::SampleLook m_look;
  sonavel::TransposeOptions m_result;  // what Options() gives
  sonavel::TransposeOptions m_shown;   // what the sample shows

  CIntegerSpinEdit* m_steps = nullptr;
  QComboBox* m_key = nullptr;
  QCheckBox* m_bIsBess = nullptr;
  QCheckBox* m_transposeTabs = nullptr;
  QCheckBox* m_transposeChords = nullptr;
  CIntegerSpinEdit* m_tabMax = nullptr;
  CIntegerSpinEdit* m_tabMin = nullptr;
  QTextEdit* m_sample = nullptr;
};
