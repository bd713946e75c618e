#include "dialogs/SettingsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>
#include <utility>

#include "dialogs/FontChoice.h"
#include "dialogs/SettingsSample.h"
#include "dialogs/TransposeDialog.h"

namespace {

// The sample holds four lines; room for one more keeps it from looking
// cramped at the usual sizes, and larger fonts scroll.
constexpr int kSampleLines = 5;

QCheckBox* MakeCheckBox(const QString& text, const char* objectName, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(objectName));
  return box;
}

}  // namespace

CSettingsDlg::CSettingsDlg(AssociateFunction associate, QWidget* parent)
    : QDialog(parent), m_settings(sonavel::theSettings().WorkingCopy()), m_associate(std::move(associate)) {
  setWindowTitle(tr("Settings"));
  CreateControls();
  UpdateCheckBoxes();
  // Connected only now: filling the box must not redraw the sample.
  connect(m_bUseSystemBackground, &QCheckBox::toggled, this, &CSettingsDlg::OnUseSystemColors);
  UpdateSample();
  // A text control asks for far more room than the sample needs; it grows
  // when the user enlarges the dialog.
  resize(minimumSizeHint());
}

void CSettingsDlg::Run(QWidget* parent, AssociateFunction associate) {
  CSettingsDlg dialog(std::move(associate), parent);
  dialog.exec();
}

void CSettingsDlg::CreateControls() {
  const auto makeButton = [this](const QString& text, const char* objectName, void (CSettingsDlg::*handler)()) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
  };

  auto* document = new QGroupBox(tr("Document settings"), this);
  auto* choosers = new QGridLayout;
  choosers->addWidget(makeButton(tr("Set &text color..."), "textColor", &CSettingsDlg::OnTextColor), 0, 0);
  choosers->addWidget(makeButton(tr("Set ta&b color..."), "tabColor", &CSettingsDlg::OnTabColor), 1, 0);
  choosers->addWidget(makeButton(tr("Set &chord color..."), "chordColor", &CSettingsDlg::OnChordColor), 2, 0);
  choosers->addWidget(
      makeButton(tr("Set back&ground color..."), "backgroundColor", &CSettingsDlg::OnBackgroundColor), 0, 1);
  choosers->addWidget(makeButton(tr("Set &font..."), "font", &CSettingsDlg::OnFont), 1, 1);
  choosers->addWidget(
      makeButton(tr("Transposing settings..."), "transposing", &CSettingsDlg::OnTransposingSettings), 2, 1);

  m_bUseSystemBackground = MakeCheckBox(tr("Use &system colors on background"), "useSystemBackground", this);
  m_sample = new QTextEdit(this);
  m_sample->setObjectName(QStringLiteral("sample"));
  m_sample->setReadOnly(true);
  m_sample->setAcceptRichText(false);
  m_sample->setTabChangesFocus(true);
  m_sample->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_sample->document()->setUndoRedoEnabled(false);
  const int frame = 2 * (m_sample->frameWidth() + static_cast<int>(m_sample->document()->documentMargin()));
  m_sample->setMinimumHeight(kSampleLines * m_sample->fontMetrics().lineSpacing() + frame);

  m_bChordInBrackets = MakeCheckBox(tr("C&hord in [brackets]"), "chordInBrackets", this);
  m_bWordWrap = MakeCheckBox(tr("&Wordwrap"), "wordWrap", this);
  auto* switches = new QHBoxLayout;
  switches->addWidget(m_bChordInBrackets);
  switches->addWidget(m_bWordWrap);
  switches->addStretch(1);

  auto* documentLayout = new QVBoxLayout(document);
  documentLayout->addLayout(choosers);
  documentLayout->addWidget(m_bUseSystemBackground);
  documentLayout->addWidget(m_sample, 1);
  documentLayout->addLayout(switches);
  // Unwrapped: a wrapping label leaves the dialog too short for it, and the
  // notes overlap the controls above them.
  documentLayout->addWidget(new QLabel(tr("Note: These settings will only be applied on new documents."), this));
  documentLayout->addWidget(new QLabel(tr("Documents that are already open keep their colors and font."), this));

  auto* misc = new QGroupBox(tr("Miscellaneous settings"), this);
  m_bQuickExit = MakeCheckBox(tr("Enable &quick exit (ESC key)"), "quickExit", this);
  m_bAutoColor = MakeCheckBox(tr("&Autocolor"), "autoColor", this);
  m_bAutoColorOnOpen = MakeCheckBox(tr("Color when files are opened"), "autoColorOnOpen", this);
  auto* miscLayout = new QVBoxLayout(misc);
  for (QCheckBox* box : {m_bQuickExit, m_bAutoColor, m_bAutoColorOnOpen}) miscLayout->addWidget(box);

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CSettingsDlg::accept);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &CSettingsDlg::reject);
  auto* closing = new QVBoxLayout;
  closing->addWidget(ok);
  closing->addWidget(cancel);
  closing->addStretch(1);

  auto* associate = makeButton(tr("Assoc&iate file types..."), "associate", &CSettingsDlg::OnAssociate);
  associate->setVisible(static_cast<bool>(m_associate));

  // The miscellaneous switches at the left, OK and Cancel beside them; the
  // two buttons that open or reset more stand on the bottom row.
  auto* lower = new QGridLayout;
  lower->addWidget(misc, 0, 0);
  lower->addLayout(closing, 0, 2);
  lower->addWidget(associate, 1, 0, Qt::AlignLeft);
  lower->addWidget(makeButton(tr("&Default values"), "defaultValues", &CSettingsDlg::OnDefaultValues), 1, 2);
  lower->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(document, 1);
  layout->addLayout(lower);
}

void CSettingsDlg::UpdateCheckBoxes() {
  m_bUseSystemBackground->setChecked(m_settings.useSystemBackground);
  m_bQuickExit->setChecked(m_settings.quickExit);
  m_bAutoColor->setChecked(m_settings.autoColor);
  m_bChordInBrackets->setChecked(m_settings.chordInBrackets);
  m_bWordWrap->setChecked(m_settings.wordWrap);
  m_bAutoColorOnOpen->setChecked(m_settings.autoColorOnOpen);
}

void CSettingsDlg::UpdateSample() {
  // The three marking colours must differ, or a document could not tell a
  // chord from a fret or from text; a choice that repeats one undoes every
  // colour choice, and the sample shows it at once.
  m_settings.ValidateColors();
  sonavel::PaintSettingsSample(*m_sample, m_settings);
}

void CSettingsDlg::PickColor(sonavel::ColorRef& color) {
  QColorDialog chooser(sonavel::ToQColor(color), this);
  chooser.setOption(QColorDialog::DontUseNativeDialog);
  if (chooser.exec() != QDialog::Accepted) return;
  const QColor chosen = chooser.selectedColor();
  color = sonavel::MakeColorRef(static_cast<unsigned>(chosen.red()), static_cast<unsigned>(chosen.green()),
                                static_cast<unsigned>(chosen.blue()));
  UpdateSample();
}

void CSettingsDlg::OnTextColor() { PickColor(m_settings.textcolor); }

void CSettingsDlg::OnTabColor() { PickColor(m_settings.tabcolor); }

void CSettingsDlg::OnChordColor() { PickColor(m_settings.chordcolor); }

void CSettingsDlg::OnBackgroundColor() { PickColor(m_settings.backgroundcolor); }

void CSettingsDlg::OnUseSystemColors() {
  m_settings.useSystemBackground = m_bUseSystemBackground->isChecked();
  UpdateSample();
}

void CSettingsDlg::OnFont() {
  QFontDialog chooser(sonavel::ChooserStartFont(m_settings, screen()->logicalDotsPerInchY()), this);
  chooser.setOption(QFontDialog::DontUseNativeDialog);
  // Script, colour, underline and strike-out are no settings of the
  // program, so their parts of the chooser would promise what never happens.
  for (QGroupBox* part : chooser.findChildren<QGroupBox*>()) part->hide();
  if (chooser.exec() != QDialog::Accepted) return;
  sonavel::TakeChosenFont(chooser.selectedFont(), m_settings);
  UpdateSample();
}

void CSettingsDlg::OnDefaultValues() {
  m_settings.SetDefaults();
  UpdateCheckBoxes();
  UpdateSample();
}

void CSettingsDlg::OnTransposingSettings() {
  // Its sample shows the colours in use, not the ones being chosen here.
  CTransposeDlg dialog(m_settings.TransposeDefaults(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  m_settings.SetTransposeDefaults(dialog.Options());
}

void CSettingsDlg::OnAssociate() {
  if (m_associate) m_associate(this);
}

void CSettingsDlg::accept() {
  m_settings.useSystemBackground = m_bUseSystemBackground->isChecked();
  m_settings.quickExit = m_bQuickExit->isChecked();
  m_settings.autoColor = m_bAutoColor->isChecked();
  m_settings.autoColorOnOpen = m_bAutoColorOnOpen->isChecked();
  m_settings.wordWrap = m_bWordWrap->isChecked();
  m_settings.chordInBrackets = m_bChordInBrackets->isChecked();
  sonavel::theSettings() = m_settings;
  // Stored now, not only at exit, so that a program started meanwhile, or
  // this one ending abnormally, does not lose what was chosen.
  sonavel::theSettings().Save();
  QDialog::accept();
}
