// The Settings dialog: what OK, Cancel and "Default values" leave in the
// program's settings and in the store, the colour and font choosers, the
// nested Transpose dialog, the live sample, and its texts in both languages.

#include "dialogs/SettingsDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTranslator>
#include <gtest/gtest.h>
#include <optional>

#include "dialogs/FontChoice.h"
#include "dialogs/IntegerSpinEdit.h"
#include "dialogs/SampleLook.h"
#include "dialogs/TransposeDialog.h"
#include "document/SettingsStore.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace sonavel {

void PrintTo(const SettingsValues& s, std::ostream* out) {
  *out << std::hex << "{bg " << s.backgroundcolor << " text " << s.textcolor << " chord " << s.chordcolor << " tab "
       << s.tabcolor << std::dec << " system " << s.useSystemBackground << " '" << s.font << "' bold " << s.fontBold
       << " italic " << s.fontItalic << " wrap " << s.wordWrap << " size " << s.fontSize << " steps " << s.steps
       << " key " << s.key << " bess " << s.bIsBess << " brackets " << s.chordInBrackets << " chords "
       << s.transposeChords << " tabs " << s.transposeTabs << " tab range " << s.tabMiniValue << "-" << s.tabMaxValue
       << " quick " << s.quickExit << " auto " << s.autoColor << " on open " << s.autoColorOnOpen << "}";
}

namespace {

SettingsValues Defaults() {
  return {.backgroundcolor = 0x00FFFFFF, .textcolor = 0, .chordcolor = 0x00FF0000, .tabcolor = 0x000000FF,
          .useSystemBackground = true, .font = "Fixedsys", .fontBold = false, .fontItalic = false,
          .wordWrap = true, .fontSize = 9, .steps = 1, .key = 0, .bIsBess = false, .chordInBrackets = false,
          .transposeChords = true, .transposeTabs = true, .tabMiniValue = 0, .tabMaxValue = 15, .quickExit = true,
          .autoColor = false, .autoColorOnOpen = true};
}

// Every field away from its default, colours that differ in every byte.
SettingsValues EveryFieldChanged() {
  return {.backgroundcolor = 0x00EEFFC0, .textcolor = 0x00102030, .chordcolor = 0x00405060, .tabcolor = 0x00708090,
          .useSystemBackground = false, .font = "Some Face", .fontBold = true, .fontItalic = true,
          .wordWrap = false, .fontSize = 14, .steps = -3, .key = 17, .bIsBess = true, .chordInBrackets = true,
          .transposeChords = false, .transposeTabs = false, .tabMiniValue = 2, .tabMaxValue = 40, .quickExit = false,
          .autoColor = true, .autoColorOnOpen = false};
}

SettingsValues WithColors(SettingsValues values, ColorRef background, ColorRef text, ColorRef chord, ColorRef tab) {
  values.backgroundcolor = background;
  values.textcolor = text;
  values.chordcolor = chord;
  values.tabcolor = tab;
  return values;
}

template <typename Widget = QPushButton>
Widget* Find(const QWidget& dialog, const char* name) {
  auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// The sample's characters as letters of their colour roles in `look`:
// 'c' chord, 't' tab, '.' text, '?' none of them; lines joined by '|'.
std::string SampleMask(const CSettingsDlg& dialog, const SettingsValues& look) {
  std::string mask;
  for (QTextBlock block = dialog.Sample()->document()->begin(); block.isValid(); block = block.next()) {
    if (!mask.empty()) mask += '|';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QColor c = it.fragment().charFormat().foreground().color();
      const char role = c == ToQColor(look.chordcolor) ? 'c'
                        : c == ToQColor(look.tabcolor) ? 't'
                        : c == ToQColor(look.textcolor) ? '.'
                                                        : '?';
      mask.append(static_cast<std::size_t>(it.fragment().length()), role);
    }
  }
  return mask;
}

QColor SampleBackground(const CSettingsDlg& dialog) { return dialog.Sample()->palette().color(QPalette::Base); }

// Each test on a store of its own, bound to theSettings().
class SettingsDialogTest : public ::testing::Test {
 protected:
  // What the store holds, as the program's next start would read it.
  SettingsValues Stored() const { return CSettings(store, SettingsPersistence::ReadOnly); }
  SettingsValues Current() const { return sonavel::theSettings(); }
  static void Use(const SettingsValues& values) { static_cast<SettingsValues&>(theSettings()) = values; }

  QTemporaryDir directory;
  std::shared_ptr<SettingsStore> store =
      std::make_shared<SettingsStore>(directory.filePath(QStringLiteral("registry.sqlite3")).toStdString());
  SettingsScope scope{store, SettingsPersistence::LoadAndSave};
};

TEST_F(SettingsDialogTest, OkAtOnceKeepsAndStoresEveryFieldButRepairsEqualMarkingColours) {
  const struct {
    const char* name;
    SettingsValues start;
    SettingsValues expected;
  } rows[] = {
      {"defaults", Defaults(), Defaults()},
      {"every field changed", EveryFieldChanged(), EveryFieldChanged()},
      {"text and tab colour equal", WithColors(EveryFieldChanged(), 0x00EEFFC0, 0x00123456, 0x00405060, 0x00123456),
       WithColors(EveryFieldChanged(), 0x00FFFFFF, 0, 0x00FF0000, 0x000000FF)},
      {"chord and tab colour equal", WithColors(Defaults(), 0x00EEFFC0, 0, 0x00123456, 0x00123456), Defaults()},
      {"background as text is allowed", WithColors(Defaults(), 0, 0, 0x00FF0000, 0x000000FF),
       WithColors(Defaults(), 0, 0, 0x00FF0000, 0x000000FF)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Use(row.start);
    CSettingsDlg dialog;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Current(), row.expected);
    EXPECT_EQ(Stored(), row.expected);
  }
}

TEST_F(SettingsDialogTest, DefaultValuesReachTheSettingsOnlyThroughOk) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    Use(EveryFieldChanged());
    theSettings().Save();
    CSettingsDlg dialog;
    Find(dialog, "defaultValues")->click();
    EXPECT_EQ(dialog.WorkingCopy(), Defaults());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "useSystemBackground")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dialog, "autoColor")->isChecked());
    if (ok) {
      dialog.accept();
    } else {
      dialog.reject();
    }
    EXPECT_EQ(Current(), ok ? Defaults() : EveryFieldChanged());
    EXPECT_EQ(Stored(), ok ? Defaults() : EveryFieldChanged());
  }
}

TEST_F(SettingsDialogTest, CheckBoxesReachTheWorkingCopyOnOkAndTheSampleBackgroundAtOnce) {
  Use(EveryFieldChanged());
  CSettingsDlg dialog;
  EXPECT_EQ(SampleBackground(dialog), QColor(0xC0, 0xFF, 0xEE));
  for (const char* name : {"chordInBrackets", "wordWrap", "quickExit", "autoColor", "autoColorOnOpen"}) {
    Find<QCheckBox>(dialog, name)->toggle();
  }
  EXPECT_EQ(dialog.WorkingCopy(), EveryFieldChanged());
  Find<QCheckBox>(dialog, "useSystemBackground")->toggle();
  EXPECT_TRUE(dialog.WorkingCopy().useSystemBackground);
  EXPECT_EQ(SampleBackground(dialog), QApplication::palette(dialog.Sample()).color(QPalette::Base));
  Find<QCheckBox>(dialog, "useSystemBackground")->toggle();
  EXPECT_EQ(SampleBackground(dialog), QColor(0xC0, 0xFF, 0xEE));
  dialog.accept();
  SettingsValues expected = EveryFieldChanged();
  expected.chordInBrackets = false;
  expected.wordWrap = true;
  expected.quickExit = true;
  expected.autoColor = false;
  expected.autoColorOnOpen = true;
  EXPECT_EQ(Current(), expected);
}

TEST_F(SettingsDialogTest, SampleShowsHeadingsChordsAndFretsInTheChosenLook) {
  Use(EveryFieldChanged());
  CSettingsDlg dialog;
  EXPECT_EQ(dialog.Sample()->toPlainText(),
            QStringLiteral("Chords:\nC C# D D# E F F# G G# A A# B \nTabs:\n-0-1-2-3-4-5-6-7-8-9-10-11-12-"));
  EXPECT_EQ(SampleMask(dialog, EveryFieldChanged()),
            ".......|c.cc.c.cc.c.c.cc.c.cc.c.cc.c.|.....|.t.t.t.t.t.t.t.t.t.t.tt.tt.tt.");
  const QTextCharFormat format = dialog.Sample()->document()->begin().begin().fragment().charFormat();
  EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{ResolveFontFamily("Some Face")});
  EXPECT_EQ(format.fontPointSize(), 14);
  EXPECT_EQ(format.fontWeight(), QFont::Bold);
  EXPECT_TRUE(format.fontItalic());
  EXPECT_TRUE(dialog.Sample()->isReadOnly());
}

struct ColourCase {
  const char* name;
  const char* button;
  ColorRef startsOn;
  std::optional<QColor> chosen;  // none: Cancel
  SettingsValues expected;
};

void PrintTo(const ColourCase& c, std::ostream* out) { *out << c.name; }

class ColourChooser : public SettingsDialogTest, public ::testing::WithParamInterface<ColourCase> {};

// Shows a background of its own, so that a reset of all four shows.
const SettingsValues kColoured = [] {
  SettingsValues values = WithColors(Defaults(), 0x00EEFFC0, 0, 0x00FF0000, 0x000000FF);
  values.useSystemBackground = false;
  return values;
}();
const SettingsValues kColouredReset = WithColors(kColoured, 0x00FFFFFF, 0, 0x00FF0000, 0x000000FF);

TEST_P(ColourChooser, StartsOnTheRolesColourAndOkTakesTheChoiceIntoSampleAndSettings) {
  const ColourCase& c = GetParam();
  Use(kColoured);
  CSettingsDlg dialog;
  QColor shownFirst;
  WhenModal<QColorDialog>([&c, &shownFirst](QColorDialog* chooser) {
    shownFirst = chooser->currentColor();
    if (!c.chosen) return chooser->reject();
    chooser->setCurrentColor(*c.chosen);
    chooser->accept();
  });
  Find(dialog, c.button)->click();
  EXPECT_EQ(shownFirst, ToQColor(c.startsOn));
  EXPECT_EQ(dialog.WorkingCopy(), c.expected);
  EXPECT_EQ(SampleBackground(dialog), ToQColor(c.expected.backgroundcolor));
  EXPECT_EQ(SampleMask(dialog, c.expected).find('?'), std::string::npos);
  dialog.accept();
  EXPECT_EQ(Current(), c.expected);
}

const ColourCase kColourCases[] = {
    {"Text", "textColor", 0, QColor(0x99, 0x66, 0x33), WithColors(kColoured, 0x00EEFFC0, 0x00336699, 0x00FF0000, 0xFF)},
    {"Tab", "tabColor", 0xFF, QColor(0x12, 0x34, 0x56), WithColors(kColoured, 0x00EEFFC0, 0, 0x00FF0000, 0x00563412)},
    {"ChordAsBackgroundIsAllowed", "chordColor", 0x00FF0000, QColor(0xC0, 0xFF, 0xEE),
     WithColors(kColoured, 0x00EEFFC0, 0, 0x00EEFFC0, 0xFF)},
    {"Background", "backgroundColor", 0x00EEFFC0, QColor(0x01, 0x02, 0x03),
     WithColors(kColoured, 0x00030201, 0, 0x00FF0000, 0xFF)},
    {"ChordAsTextResetsAllFour", "chordColor", 0x00FF0000, QColor(0, 0, 0), kColouredReset},
    {"TabAsChordResetsAllFour", "tabColor", 0xFF, QColor(0, 0, 0xFF), kColouredReset},
    {"Cancelled", "textColor", 0, std::nullopt, kColoured},
};

INSTANTIATE_TEST_SUITE_P(SettingsDialog, ColourChooser, ::testing::ValuesIn(kColourCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FontChoice, ChosenFontKeepsWholeFaceWholePointsAndOnlyWeight700AsBold) {
  const struct {
    const char* name;
    const char* family;
    double points;
    int weight;
    bool italic;
    std::int32_t fontSize;
  } rows[] = {
      {"10.5 points", "DejaVu Sans", 10.5, QFont::Normal, false, 10},
      {"10.96 points", "DejaVu Sans", 10.96, QFont::Normal, false, 11},
      {"weight 600", "DejaVu Sans", 12, 600, false, 12},
      {"weight 700", "DejaVu Sans", 12, 700, true, 12},
      {"weight 900", "DejaVu Sans", 12, 900, false, 12},
      {"a face over 31 characters", "A face whose name is longer than thirty-one characters", 8, 400, true, 8},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QFont chosen(QString::fromLatin1(row.family));
    chosen.setPointSizeF(row.points);
    chosen.setWeight(static_cast<QFont::Weight>(row.weight));
    chosen.setItalic(row.italic);
    SettingsValues settings = Defaults();
    TakeChosenFont(chosen, settings);
    EXPECT_EQ(settings.font, row.family);
    EXPECT_EQ(settings.fontSize, row.fontSize);
    EXPECT_EQ(settings.fontBold, row.weight == 700);
    EXPECT_EQ(settings.fontItalic, row.italic);
  }
}

TEST(FontChoice, ChooserStartsOnAHeightFromTheResolutionAndAFaceThatExists) {
  const struct {
    std::int32_t fontSize;
    double dpi;
    bool bold;
    int pixels;
  } rows[] = {
      {9, 96, false, 12}, {9, 120, true, 15}, {10, 96, false, 13}, {11, 96, true, 15},
      {0, 96, false, 1},  {-4, 144, false, 2}, {2000000000, 72, false, 1638},
  };
  for (const auto& row : rows) {
    SettingsValues settings = Defaults();
    settings.fontSize = row.fontSize;
    settings.fontBold = row.bold;
    settings.fontItalic = row.bold;
    const QFont font = ChooserStartFont(settings, row.dpi);
    EXPECT_EQ(font.pixelSize(), row.pixels) << row.fontSize << " pt at " << row.dpi;
    EXPECT_EQ(font.weight(), row.bold ? QFont::Bold : QFont::Normal);
    EXPECT_EQ(font.italic(), row.bold);
    EXPECT_EQ(font.family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()) << "Fixedsys is missing";
  }
}

TEST_F(SettingsDialogTest, FontChooserOffersFaceSizeAndStyleOnlyAndOkShowsTheChoice) {
  // A face other than the one shown first, with a bold style at any size.
  QString face;
  for (const QString& family : QFontDatabase::families()) {
    if (family != ResolveFontFamily("Fixedsys") && QFontDatabase::isSmoothlyScalable(family) &&
        QFontDatabase::styles(family).contains(QStringLiteral("Bold")))
      face = family;
  }
  ASSERT_FALSE(face.isEmpty()) << "no scalable font with a bold style on this machine";
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    Use(Defaults());
    CSettingsDlg dialog;
    QFont shownFirst;
    bool extrasShown = true;
    WhenModal<QFontDialog>([&](QFontDialog* chooser) {
      shownFirst = chooser->currentFont();
      extrasShown = false;
      for (const QGroupBox* part : chooser->findChildren<QGroupBox*>()) extrasShown |= part->isVisible();
      chooser->setCurrentFont(QFont(face, 17, QFont::Bold));
      ok ? chooser->accept() : chooser->reject();
    });
    Find(dialog, "font")->click();
    EXPECT_EQ(shownFirst.family().toLower(), ResolveFontFamily("Fixedsys").toLower());
    EXPECT_EQ(QFontInfo(shownFirst).pointSize(), 9);
    EXPECT_FALSE(extrasShown);
    const QTextCharFormat format = dialog.Sample()->document()->begin().begin().fragment().charFormat();
    EXPECT_EQ(format.fontPointSize(), ok ? 17 : 9);
    EXPECT_EQ(format.fontWeight(), ok ? QFont::Bold : QFont::Normal);
    dialog.accept();
    EXPECT_EQ(Current().font, ok ? face.toStdString() : "Fixedsys");
    EXPECT_EQ(Current().fontSize, ok ? 17 : 9);
    EXPECT_EQ(Current().fontBold, ok);
  }
}

TEST_F(SettingsDialogTest, NestedTransposeValuesAreKeptOnlyWhenBothDialogsSayOk) {
  const struct {
    bool transposeOk;
    bool settingsOk;
  } rows[] = {{true, true}, {false, true}, {true, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "transpose " << row.transposeOk << ", settings " << row.settingsOk);
    Use(EveryFieldChanged());
    CSettingsDlg dialog;
    TransposeOptions shownFirst;
    WhenModal<CTransposeDlg>([&row, &shownFirst](CTransposeDlg* transpose) {
      shownFirst = transpose->Options();
      Find<CIntegerSpinEdit>(*transpose, "steps")->setText(QStringLiteral("5"));
      Find<QComboBox>(*transpose, "key")->setCurrentIndex(4);
      Find<QCheckBox>(*transpose, "bIsBess")->setChecked(false);
      Find<QCheckBox>(*transpose, "transposeChords")->setChecked(true);
      Find<QCheckBox>(*transpose, "transposeTabs")->setChecked(true);
      Find<CIntegerSpinEdit>(*transpose, "tabMaxValue")->setText(QStringLiteral("24"));
      Find<CIntegerSpinEdit>(*transpose, "tabMiniValue")->setText(QStringLiteral("1"));
      row.transposeOk ? transpose->accept() : transpose->reject();
    });
    Find(dialog, "transposing")->click();
    EXPECT_EQ(shownFirst, (TransposeOptions{-3, 17, true, false, false, 2, 40}));
    row.settingsOk ? dialog.accept() : dialog.reject();
    SettingsValues expected = EveryFieldChanged();
    if (row.transposeOk && row.settingsOk) {
      expected.steps = 5;
      expected.key = 4;
      expected.bIsBess = false;
      expected.transposeChords = expected.transposeTabs = true;
      expected.tabMaxValue = 24;
      expected.tabMiniValue = 1;
    }
    EXPECT_EQ(Current(), expected);
  }
}

TEST_F(SettingsDialogTest, AssociateButtonOnlyWithAFunctionWhichGetsTheDialog) {
  EXPECT_TRUE(Find(CSettingsDlg(), "associate")->isHidden());
  QWidget* parent = nullptr;
  CSettingsDlg dialog([&parent](QWidget* p) { parent = p; });
  EXPECT_FALSE(Find(dialog, "associate")->isHidden());
  Find(dialog, "associate")->click();
  EXPECT_EQ(parent, &dialog);
}

TEST_F(SettingsDialogTest, EveryTextInEnglishAndSwedish) {
  QTranslator dialogs;
  QTranslator strings;
  ASSERT_TRUE(dialogs.load(QString::fromUtf8(SONAVEL_DIALOGS_SV_QM)));
  ASSERT_TRUE(strings.load(QString::fromUtf8(SONAVEL_STRINGS_SV_QM)));
  const QString english = QStringLiteral(
      "Settings|Document settings|Miscellaneous settings|Note: These settings will only be applied on new "
      "documents.|Documents that are already open keep their colors and font.|Set &text color...|Set ta&b "
      "color...|Set &chord color...|Set back&ground color...|Set &font...|Transposing settings...|Use &system colors "
      "on background|C&hord in [brackets]|&Wordwrap|Enable &quick exit (ESC key)|&Autocolor|Color when files are "
      "opened|OK|Cancel|Assoc&iate file types...|&Default values|Chords:|Tabs:");
  const QString swedish = QStringLiteral(
      "Inställningar|Dokumentinställningar|Övrigt|OBS: Dessa inställningar börjar gälla på nya dokument.|Dokument "
      "som redan är öppna behåller sina färger och sitt typsnitt.|&Textfärg...|Tab&ulatorfärg...|&Ackordfärg...|"
      "&Bakgrundsfärg...|Ty&psnitt...|Transp&onering...|Använd s&ystemfärger på bakgrund|Ackord är i [&klamrar]|"
      "&Radbryt|Snabb avslutning (&ESC)|&Färga automatiskt|Färga &öppnade filer|OK|Avbryt|Associera f&iltyper...|"
      "&Standardvärden|Ackord:|Tabulatur:");
  for (const bool inSwedish : {false, true}) {
    if (inSwedish) {
      QCoreApplication::installTranslator(&dialogs);
      QCoreApplication::installTranslator(&strings);
    }
    CSettingsDlg dialog([](QWidget*) {});
    QStringList texts{dialog.windowTitle()};
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>()) texts << box->title();
    for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) texts << button->text();
    const QStringList sample = dialog.Sample()->toPlainText().split(u'\n');
    texts << sample.at(0) << sample.at(2);
    texts.sort();
    QStringList expected = (inSwedish ? swedish : english).split(u'|');
    expected.sort();
    EXPECT_EQ(texts, expected);
  }
  QCoreApplication::removeTranslator(&strings);
  QCoreApplication::removeTranslator(&dialogs);
}

}  // namespace
}  // namespace sonavel
