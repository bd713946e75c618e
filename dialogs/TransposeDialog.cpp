#include "dialogs/TransposeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/IntegerSpinEdit.h"
#include "dialogs/TransposeSample.h"
#include "document/StringTableText.h"
#include "engine/NoteTable.h"
#include "res/StringTable.h"

namespace {

using sonavel::SampleRole;

constexpr int kStepsMin = -12;
constexpr int kStepsMax = 12;
constexpr int kTabMaxMin = 12;
constexpr int kTabMaxMax = 99;
constexpr int kTabMinMin = 0;
constexpr int kTabMinMax = 99;

// Column 9 of a key's row is its relative minor.
constexpr int kRelativeMinorColumn = 9;

// The sample shows seven lines; one more keeps it from looking cramped.
constexpr int kSampleLines = 8;
// Wide enough for the longest sample line, a transposed chord line in a key
// with two-letter names.
constexpr int kSampleColumns = 34;

QString KeyEntryText(int key) {
  const auto& row = sonavel::chordTable()[static_cast<std::size_t>(key)];
  return QString::fromLatin1(row[0]) + QStringLiteral("   ") + QString::fromLatin1(row[kRelativeMinorColumn]) +
         QLatin1Char('m');
}


// Bold, italic and face of the settings; no size, so the sample keeps the
// control's own size. Underline and strike-out are always off.
QTextCharFormat SampleFormat(const sonavel::SampleLook& look) {
  QTextCharFormat format;
  format.setFontFamilies({sonavel::ResolveFontFamily(look.font)});
  format.setFontWeight(look.fontBold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(look.fontItalic);
  format.setFontUnderline(false);
  format.setFontStrikeOut(false);
  return format;
}

CIntegerSpinEdit* MakeNumberField(const QString& objectName, int arrowMin, int arrowMax, bool negativeAllowed,
                                  QWidget* parent) {
  auto* field = new CIntegerSpinEdit(parent);
  field->setObjectName(objectName);
  field->setArrowRange(arrowMin, arrowMax);
  field->setNegativeAllowed(negativeAllowed);
  return field;
}

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

CTransposeDlg::CTransposeDlg(const sonavel::TransposeOptions& options, QWidget* parent)
    : CTransposeDlg(options, sonavel::SampleLook::FromSettings(), parent) {}

CTransposeDlg::CTransposeDlg(const sonavel::TransposeOptions& options, const sonavel::SampleLook& look,
                             QWidget* parent)
    : QDialog(parent), m_look(look), m_result(options), m_shown(options) {
  sonavel::BuildChordTable();
  setWindowTitle(tr("Transpose"));
  CreateControls();
  FillKeyList();
  ShowOptions(options);
  // Connected only now, so that filling the controls does not rebuild the
  // sample once per control.
  ConnectLiveUpdates();
  ApplyLookToSample();
  UpdateSample();
  m_steps->setFocus();
}

void CTransposeDlg::CreateControls() {
  m_steps = MakeNumberField(QStringLiteral("steps"), kStepsMin, kStepsMax, true, this);
  m_key = new QComboBox(this);
  m_key->setObjectName(QStringLiteral("key"));
  m_key->setEditable(false);
  m_bIsBess = new QCheckBox(tr("Transpose &B as Bb (A#)"), this);
  m_bIsBess->setObjectName(QStringLiteral("bIsBess"));
  m_transposeTabs = new QCheckBox(tr("Transpose &tabs"), this);
  m_transposeTabs->setObjectName(QStringLiteral("transposeTabs"));
  m_transposeChords = new QCheckBox(tr("Transpose &chords"), this);
  m_transposeChords->setObjectName(QStringLiteral("transposeChords"));
  m_tabMax = MakeNumberField(QStringLiteral("tabMaxValue"), kTabMaxMin, kTabMaxMax, false, this);
  m_tabMin = MakeNumberField(QStringLiteral("tabMiniValue"), kTabMinMin, kTabMinMax, false, this);

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  connect(ok, &QPushButton::clicked, this, &CTransposeDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CTransposeDlg::reject);

  m_sample = new QTextEdit(this);
  m_sample->setObjectName(QStringLiteral("sample"));
  m_sample->setReadOnly(true);
  m_sample->setAcceptRichText(false);
  m_sample->setLineWrapMode(QTextEdit::NoWrap);
  m_sample->setTabChangesFocus(true);
  m_sample->document()->setUndoRedoEnabled(false);

  // Steps and key on the left, the three switches on the right; the two
  // tablature values line up with the switches, the buttons at the far right.
  auto* stepsAndKey = new QGridLayout;
  stepsAndKey->addWidget(MakeLabel(tr("&Steps:"), m_steps, this), 0, 0);
  stepsAndKey->addWidget(m_steps, 0, 1, Qt::AlignLeft);
  stepsAndKey->addWidget(MakeLabel(tr("&Key:"), m_key, this), 1, 0);
  stepsAndKey->addWidget(m_key, 1, 1, Qt::AlignLeft);
  stepsAndKey->setRowStretch(2, 1);

  auto* controls = new QGridLayout;
  controls->addLayout(stepsAndKey, 0, 0, 3, 1);
  controls->addWidget(m_bIsBess, 0, 1, 1, 2);
  controls->addWidget(m_transposeTabs, 1, 1, 1, 2);
  controls->addWidget(m_transposeChords, 2, 1, 1, 2);
  controls->addWidget(MakeLabel(tr("&Highest tablature value:"), m_tabMax, this), 3, 0);
  controls->addWidget(m_tabMax, 3, 1, Qt::AlignLeft);
  controls->addWidget(ok, 3, 2);
  controls->addWidget(MakeLabel(tr("&Lowest tablature value:"), m_tabMin, this), 4, 0);
  controls->addWidget(m_tabMin, 4, 1, Qt::AlignLeft);
  controls->addWidget(cancel, 4, 2);
  controls->setColumnStretch(1, 1);
  controls->setRowMinimumHeight(3, ok->sizeHint().height());

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addSpacing(layout->spacing());
  layout->addWidget(MakeLabel(tr("Sample:"), m_sample, this));
  layout->addWidget(m_sample, 1);
}

void CTransposeDlg::FillKeyList() {
  for (int key = 0; key < sonavel::kKeyCount; ++key) m_key->addItem(KeyEntryText(key), key);
}

void CTransposeDlg::ShowOptions(const sonavel::TransposeOptions& options) {
  m_steps->setValue(options.steps);
  // The list always has a selection; a key outside the table (which callers
  // are not to pass) shows as the first entry rather than as none.
  m_key->setCurrentIndex(std::max(0, m_key->findData(options.key)));
  m_bIsBess->setChecked(options.bIsBess);
  m_transposeTabs->setChecked(options.transposeTabs);
  m_transposeChords->setChecked(options.transposeChords);
  m_tabMax->setValue(options.tabMaxValue);
  m_tabMin->setValue(options.tabMiniValue);
}

void CTransposeDlg::ConnectLiveUpdates() {
  for (QCheckBox* box : {m_bIsBess, m_transposeTabs, m_transposeChords}) {
    connect(box, &QCheckBox::toggled, this, &CTransposeDlg::UpdateSample);
  }
  for (CIntegerSpinEdit* field : {m_steps, m_tabMax, m_tabMin}) {
    connect(field, &CIntegerSpinEdit::textChanged, this, &CTransposeDlg::UpdateSample);
  }
  connect(m_key, &QComboBox::currentIndexChanged, this, &CTransposeDlg::UpdateSample);
}

CIntegerSpinEdit* CTransposeDlg::ReadControls(sonavel::TransposeOptions& options) const {
  CIntegerSpinEdit* firstFailure = nullptr;
  auto readNumber = [&firstFailure](CIntegerSpinEdit* field, int& into) {
    if (const std::optional<int> typed = field->value()) {
      into = *typed;
    } else if (!firstFailure) {
      firstFailure = field;
    }
  };
  options.key = m_key->currentData().toInt();
  options.bIsBess = m_bIsBess->isChecked();
  readNumber(m_steps, options.steps);
  options.transposeTabs = m_transposeTabs->isChecked();
  options.transposeChords = m_transposeChords->isChecked();
  readNumber(m_tabMax, options.tabMaxValue);
  readNumber(m_tabMin, options.tabMiniValue);
  return firstFailure;
}

void CTransposeDlg::UpdateSample() {
  // While a number field is being retyped the sample keeps that field's last
  // value; the field is marked instead of interrupting the typing.
  ReadControls(m_shown);
  for (CIntegerSpinEdit* field : {m_steps, m_tabMax, m_tabMin}) field->setInvalidMark(!field->value());

  const std::string original = sonavel::StringTableText(sonavel::IDS_SAMPLE_ORIGINAL).toStdString();
  const std::string transposed = sonavel::StringTableText(sonavel::IDS_SAMPLE_TRANSPOSED).toStdString();
  const std::vector<sonavel::SampleRun> runs = sonavel::BuildTransposeSample(m_shown, original, transposed);

  m_sample->setUpdatesEnabled(false);
  m_sample->clear();
  QTextCursor cursor(m_sample->document());
  QTextCharFormat format = SampleFormat(m_look);
  for (const sonavel::SampleRun& run : runs) {
    format.setForeground(sonavel::SampleRoleColor(run.role, m_look.textcolor, m_look.chordcolor, m_look.tabcolor));
    cursor.insertText(QString::fromStdString(run.text), format);
  }
  m_sample->setUpdatesEnabled(true);
}

void CTransposeDlg::ApplyLookToSample() {
  if (!m_look.useSystemBackground) {
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Base, sonavel::ToQColor(m_look.backgroundcolor));
    m_sample->setPalette(palette);
  }
  QFont font = m_sample->font();
  font.setFamilies({sonavel::ResolveFontFamily(m_look.font)});
  font.setBold(m_look.fontBold);
  font.setItalic(m_look.fontItalic);
  m_sample->document()->setDefaultFont(font);
  const QFontMetrics metrics(font);
  const int frame = 2 * (m_sample->frameWidth() + static_cast<int>(m_sample->document()->documentMargin()));
  m_sample->setMinimumSize(metrics.horizontalAdvance(QString(kSampleColumns, QLatin1Char('M'))) + frame,
                           kSampleLines * metrics.lineSpacing() + frame);
}

void CTransposeDlg::accept() {
  sonavel::TransposeOptions read = m_result;
  if (CIntegerSpinEdit* failed = ReadControls(read)) {
    failed->setInvalidMark(true);
    QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE), tr("Please enter an integer."));
    failed->setFocus();
    failed->selectAll();
    return;
  }
  m_result = read;
  QDialog::accept();
}
