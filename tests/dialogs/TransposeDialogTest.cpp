#include "dialogs/TransposeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTranslator>
#include <gtest/gtest.h>

#include "dialogs/IntegerSpinEdit.h"
#include "document/Settings.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace {

using sonavel::SampleLook;
using sonavel::TransposeOptions;

// Colours that differ in every byte, so that a swapped byte order shows.
SampleLook DistinctLook() {
  SampleLook look;
  look.textcolor = 0x00102030;
  look.chordcolor = 0x00405060;
  look.tabcolor = 0x00708090;
  look.backgroundcolor = 0x00E0F0D0;
  look.useSystemBackground = false;
  return look;
}

QColor FromBgr(unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

template <typename Widget>
Widget* Control(const CTransposeDlg& dialog, const char* name) {
  auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

CIntegerSpinEdit* Field(const CTransposeDlg& dialog, const char* name) {
  return Control<CIntegerSpinEdit>(dialog, name);
}

QString SampleText(const CTransposeDlg& dialog) { return dialog.Sample()->toPlainText(); }

// The sample's second half: the chord line and the fret line after "Transposed:".
QStringList TransposedLines(const CTransposeDlg& dialog) {
  const QStringList lines = SampleText(dialog).split(u'\n');
  return lines.mid(lines.size() - 2);
}

QPushButton* Button(const CTransposeDlg& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

TransposeOptions Make(int steps, int key, bool bIsBess, bool chords, bool tabs, int tabMin, int tabMax) {
  TransposeOptions options;
  options.steps = steps;
  options.key = key;
  options.bIsBess = bIsBess;
  options.transposeChords = chords;
  options.transposeTabs = tabs;
  options.tabMiniValue = tabMin;
  options.tabMaxValue = tabMax;
  return options;
}

const QString kOriginalHalf = QStringLiteral(
    "Original:\nC C# D D# E F F# G G# A A# B \n-0-1-2-3-4-5-6-7-8-9-10-11-\n\nTransposed:\n");

struct SampleCase {
  const char* what;
  TransposeOptions options;
  const char* chords;  // the transposed chord line
  const char* frets;   // the transposed fret line
};

TEST(TransposeDialog, SampleShowsBothHalvesTransposedWithTheOptions) {
  const SampleCase cases[] = {
      {"defaults", TransposeOptions{}, "C# D D# E F F# G G# A A# B C ", "-1-2-3-4-5-6-7-8-9-10-11-12-"},
      {"key Bb, one step", Make(1, 20, false, true, true, 0, 15), "Db D Eb E F Gb G Ab A Bb B C ",
       "-1-2-3-4-5-6-7-8-9-10-11-12-"},
      {"key Bb, no step respells", Make(0, 20, false, true, true, 0, 15), "C Db D Eb E F Gb G Ab A Bb B ",
       "-0-1-2-3-4-5-6-7-8-9-10-11-"},
      {"key C, no step", Make(0, 0, false, true, true, 0, 15), "C C# D D# E F F# G G# A A# B ",
       "-0-1-2-3-4-5-6-7-8-9-10-11-"},
      {"chords off", Make(1, 0, false, false, true, 0, 15), "C C# D D# E F F# G G# A A# B ",
       "-1-2-3-4-5-6-7-8-9-10-11-12-"},
      {"tabs off", Make(1, 0, false, true, false, 0, 15), "C# D D# E F F# G G# A A# B C ",
       "-0-1-2-3-4-5-6-7-8-9-10-11-"},
      {"B read as Bb", Make(1, 0, true, true, true, 0, 15), "C# D D# E F F# G G# A A# B B ",
       "-1-2-3-4-5-6-7-8-9-10-11-12-"},
      {"highest 12 keeps 12", Make(1, 0, false, true, true, 0, 12), "C# D D# E F F# G G# A A# B C ",
       "-1-2-3-4-5-6-7-8-9-10-11-12-"},
      {"highest 12 folds 13", Make(2, 0, false, true, true, 0, 12), "D D# E F F# G G# A A# B C C# ",
       "-2-3-4-5-6-7-8-9-10-11-12-1-"},
      {"window under 12 frets folds nothing", Make(3, 0, false, true, true, 5, 12),
       "D# E F F# G G# A A# B C C# D ", "-3-4-5-6-7-8-9-10-11-12-13-14-"},
      {"steps down", Make(-1, 0, false, true, true, 0, 15), "B C C# D D# E F F# G G# A A# ",
       "-11-0-1-2-3-4-5-6-7-8-9-10-"},
      {"steps beyond the arrows", Make(30, 0, false, true, true, 0, 15), "F# G G# A A# B C C# D D# E F ",
       "-6-7-8-9-10-11-12-13-14-15-4-5-"},
  };
  for (const SampleCase& c : cases) {
    CTransposeDlg dialog(c.options, SampleLook{});
    const QString expected = kOriginalHalf + QString::fromLatin1(c.chords) + u'\n' + QString::fromLatin1(c.frets);
    EXPECT_EQ(SampleText(dialog).toStdString(), expected.toStdString()) << c.what;
  }
}

// What colour role a sample character must have, judged from the text alone:
// names on the chord lines, digits on the fret lines, all else is text.
QColor ExpectedColor(const SampleLook& look, int line, QChar c) {
  const bool chordLine = line == 1 || line == 5;
  const bool fretLine = line == 2 || line == 6;
  if (chordLine && c != u' ') return FromBgr(look.chordcolor);
  if (fretLine && c.isDigit()) return FromBgr(look.tabcolor);
  return FromBgr(look.textcolor);
}

TEST(TransposeDialog, SampleColoursEveryCharacterByItsRole) {
  const SampleLook look = DistinctLook();
  for (const TransposeOptions& options : {TransposeOptions{}, Make(1, 20, false, true, true, 0, 15),
                                          Make(0, 20, false, true, true, 0, 15)}) {
    CTransposeDlg dialog(options, look);
    const QTextDocument* document = dialog.Sample()->document();
    ASSERT_EQ(document->blockCount(), 7);
    int line = 0;
    int checked = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next(), ++line) {
      for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QTextFragment piece = fragment.fragment();
        const QColor color = piece.charFormat().foreground().color();
        for (QChar c : piece.text()) {
          EXPECT_EQ(color, ExpectedColor(look, line, c))
              << "line " << line << " character '" << QString(c).toStdString() << "' key " << options.key;
          ++checked;
        }
      }
    }
    EXPECT_EQ(checked, SampleText(dialog).size() - 6);  // every character but the six line breaks
  }
}

TEST(TransposeDialog, SampleTakesTheFaceEffectsAndBackgroundOfTheLook) {
  SampleLook look = DistinctLook();
  look.fontBold = true;
  look.fontItalic = true;
  look.font = "No Such Face For Sure";  // falls back to the system's fixed-pitch font
  CTransposeDlg dialog(TransposeOptions{}, look);
  QTextCursor cursor(dialog.Sample()->document());
  cursor.setPosition(1);
  const QTextCharFormat format = cursor.charFormat();
  EXPECT_EQ(format.fontWeight(), QFont::Bold);
  EXPECT_TRUE(format.fontItalic());
  EXPECT_FALSE(format.fontUnderline());
  EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{sonavel::ResolveFontFamily(look.font)});
  EXPECT_NE(sonavel::ResolveFontFamily(look.font), QStringLiteral("No Such Face For Sure"));
  EXPECT_EQ(dialog.Sample()->palette().color(QPalette::Base), FromBgr(look.backgroundcolor));
  EXPECT_TRUE(dialog.Sample()->isReadOnly());

  look.useSystemBackground = true;
  CTransposeDlg systemBackground(TransposeOptions{}, look);
  EXPECT_EQ(systemBackground.Sample()->palette().color(QPalette::Base),
            QApplication::palette(systemBackground.Sample()).color(QPalette::Base));
}

TEST(TransposeDialog, SampleLooksLikeTheProgramWideSettingsByDefault) {
  // Outside a settings scope the program-wide record is bound to no store.
  sonavel::CSettings& settings = sonavel::theSettings();
  const sonavel::CSettings saved = settings;
  settings.chordcolor = 0x00123456;
  settings.tabcolor = 0x00654321;
  settings.fontItalic = true;
  CTransposeDlg dialog(TransposeOptions{});
  settings = saved;

  QTextCursor cursor(dialog.Sample()->document());
  cursor.movePosition(QTextCursor::NextBlock);
  cursor.movePosition(QTextCursor::NextCharacter);  // after the first chord name's first letter
  EXPECT_EQ(cursor.charFormat().foreground().color(), FromBgr(0x00123456));
  EXPECT_TRUE(cursor.charFormat().fontItalic());
  cursor.movePosition(QTextCursor::NextBlock);
  cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 2);  // after "-0"
  EXPECT_EQ(cursor.charFormat().foreground().color(), FromBgr(0x00654321));
}

TEST(TransposeDialog, SampleFollowsEveryControl) {
  CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
  Field(dialog, "steps")->setText(QStringLiteral("2"));
  EXPECT_EQ(TransposedLines(dialog).at(0), QStringLiteral("D D# E F F# G G# A A# B C C# "));
  Control<QComboBox>(dialog, "key")->setCurrentIndex(20);
  EXPECT_EQ(TransposedLines(dialog).at(0), QStringLiteral("D Eb E F Gb G Ab A Bb B C Db "));
  Control<QCheckBox>(dialog, "transposeChords")->setChecked(false);
  EXPECT_EQ(TransposedLines(dialog).at(0), QStringLiteral("C C# D D# E F F# G G# A A# B "));
  Control<QCheckBox>(dialog, "transposeTabs")->setChecked(false);
  EXPECT_EQ(TransposedLines(dialog).at(1), QStringLiteral("-0-1-2-3-4-5-6-7-8-9-10-11-"));
  Control<QCheckBox>(dialog, "transposeTabs")->setChecked(true);
  Field(dialog, "tabMaxValue")->setText(QStringLiteral("12"));
  EXPECT_EQ(TransposedLines(dialog).at(1), QStringLiteral("-2-3-4-5-6-7-8-9-10-11-12-1-"));
  Field(dialog, "tabMiniValue")->setText(QStringLiteral("5"));  // window under 12 frets: no folding
  EXPECT_EQ(TransposedLines(dialog).at(1), QStringLiteral("-2-3-4-5-6-7-8-9-10-11-12-13-"));
  Control<QCheckBox>(dialog, "transposeChords")->setChecked(true);
  Control<QCheckBox>(dialog, "bIsBess")->setChecked(true);
  EXPECT_EQ(TransposedLines(dialog).at(0), QStringLiteral("D Eb E F Gb G Ab A Bb B C C "));
}

TEST(TransposeDialog, FieldWithoutAnIntegerKeepsItsLastValueInTheSampleAndIsMarked) {
  CTransposeDlg dialog(Make(2, 0, false, true, true, 0, 15), SampleLook{});
  CIntegerSpinEdit* steps = Field(dialog, "steps");
  const QStringList before = TransposedLines(dialog);
  for (const char* text : {"", "-"}) {
    steps->setText(QString::fromLatin1(text));
    EXPECT_EQ(TransposedLines(dialog), before) << text;
    EXPECT_TRUE(steps->hasInvalidMark()) << text;
  }
  // The other controls still take effect while the steps field is empty.
  Control<QCheckBox>(dialog, "transposeChords")->setChecked(false);
  EXPECT_EQ(TransposedLines(dialog).at(0), QStringLiteral("C C# D D# E F F# G G# A A# B "));
  EXPECT_EQ(TransposedLines(dialog).at(1), before.at(1));

  steps->setText(QStringLiteral("-3"));
  EXPECT_EQ(TransposedLines(dialog).at(1), QStringLiteral("-9-10-11-0-1-2-3-4-5-6-7-8-"));
  EXPECT_FALSE(steps->hasInvalidMark());
}

TEST(TransposeDialog, OkWithoutChangesGivesBackWhatWasPutIn) {
  const TransposeOptions cases[] = {
      TransposeOptions{},
      Make(-12, 17, true, false, true, 3, 99),
      Make(12, 20, false, true, false, 0, 12),
      Make(30, 8, true, true, true, 40, 5),  // out of every range, and highest below lowest
      Make(-100, 13, false, false, false, -3, 200),
  };
  for (const TransposeOptions& options : cases) {
    CTransposeDlg dialog(options, SampleLook{});
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Options(), options) << "steps " << options.steps << " key " << options.key;
  }
}

TEST(TransposeDialog, OkGivesBackTheEditedValues) {
  CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
  Field(dialog, "steps")->setText(QStringLiteral("-30"));
  Control<QComboBox>(dialog, "key")->setCurrentIndex(17);
  Control<QCheckBox>(dialog, "bIsBess")->setChecked(true);
  Control<QCheckBox>(dialog, "transposeTabs")->setChecked(false);
  Control<QCheckBox>(dialog, "transposeChords")->setChecked(false);
  Field(dialog, "tabMaxValue")->setText(QStringLiteral("150"));
  Field(dialog, "tabMiniValue")->setText(QStringLiteral("7"));
  dialog.accept();
  EXPECT_EQ(dialog.Options(), Make(-30, 17, true, false, false, 7, 150));
}

TEST(TransposeDialog, CancelAfterEditsChangesNothing) {
  const TransposeOptions options = Make(3, 5, false, true, true, 0, 15);
  CTransposeDlg dialog(options, SampleLook{});
  Field(dialog, "steps")->setText(QStringLiteral("-7"));
  Control<QComboBox>(dialog, "key")->setCurrentIndex(2);
  Control<QCheckBox>(dialog, "bIsBess")->setChecked(true);
  Control<QCheckBox>(dialog, "transposeTabs")->setChecked(false);
  Field(dialog, "tabMaxValue")->setText(QStringLiteral("20"));
  Button(dialog, QStringLiteral("Cancel"))->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.Options(), options);
}

TEST(TransposeDialog, OkWithANumberFieldWithoutAnIntegerPromptsAndStaysOpen) {
  const TransposeOptions options = Make(3, 5, false, true, true, 0, 15);
  for (const char* name : {"steps", "tabMaxValue", "tabMiniValue"}) {
    for (const char* text : {"", "-"}) {
      CTransposeDlg dialog(options, SampleLook{});
      dialog.show();
      CIntegerSpinEdit* field = Field(dialog, name);
      field->setText(QString::fromLatin1(text));
      QString prompt;
      WhenModal<QMessageBox>([&prompt](QMessageBox* box) {
        prompt = box->text();
        box->accept();
      });
      Button(dialog, QStringLiteral("OK"))->click();
      EXPECT_EQ(prompt, QStringLiteral("Please enter an integer.")) << name << " '" << text << "'";
      EXPECT_TRUE(dialog.isVisible()) << name;
      EXPECT_NE(dialog.result(), QDialog::Accepted) << name;
      EXPECT_EQ(dialog.Options(), options) << name;
      EXPECT_EQ(dialog.focusWidget(), field) << name;

      field->setText(QStringLiteral("4"));
      Button(dialog, QStringLiteral("OK"))->click();
      EXPECT_EQ(dialog.result(), QDialog::Accepted) << name;
    }
  }
}

TEST(TransposeDialog, KeyListNamesEachKeyAndItsRelativeMinorInTableOrder) {
  const char* expected[] = {"C   Am",  "D   Bm",  "E   C#m", "F   Dm",   "G   Em",   "A   F#m",  "B   G#m",
                            "C#   A#m", "D#   B#m", "E#   Cxm", "F#   D#m", "G#   E#m", "A#   Fxm", "B#   Gxm",
                            "Cb   Abm", "Db   Bbm", "Eb   Cm",  "Fb   Dbm", "Gb   Ebm", "Ab   Fm",  "Bb   Gm"};
  CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
  auto* keys = Control<QComboBox>(dialog, "key");
  ASSERT_EQ(keys->count(), 21);
  EXPECT_FALSE(keys->isEditable());
  for (int k = 0; k < 21; ++k) {
    EXPECT_EQ(keys->itemText(k).toStdString(), expected[k]) << k;
    EXPECT_EQ(keys->itemData(k).toInt(), k);
  }
  EXPECT_EQ(keys->currentIndex(), 0);
}

TEST(TransposeDialog, KeyOfTheOptionsIsSelected) {
  CTransposeDlg dialog(Make(1, 17, false, true, true, 0, 15), SampleLook{});
  EXPECT_EQ(Control<QComboBox>(dialog, "key")->currentText(), QStringLiteral("Fb   Dbm"));
}

TEST(TransposeDialog, ArrowRangesOfTheNumberFields) {
  CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
  struct Range {
    const char* name;
    int minimum;
    int maximum;
  };
  for (const Range& r : {Range{"steps", -12, 12}, Range{"tabMaxValue", 12, 99}, Range{"tabMiniValue", 0, 99}}) {
    CIntegerSpinEdit* field = Field(dialog, r.name);
    field->setValue(r.maximum);
    field->stepBy(1);
    EXPECT_EQ(field->value(), r.maximum) << r.name;
    field->setValue(r.minimum);
    field->stepBy(-1);
    EXPECT_EQ(field->value(), r.minimum) << r.name;
  }
}

TEST(TransposeDialog, StepsFieldHasTheFocusFirst) {
  CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.focusWidget(), Field(dialog, "steps"));
}

struct LanguageCase {
  const char* qmFile;  // nullptr: English
  const char* title;
  std::vector<const char*> labels;
  std::vector<const char*> checkBoxes;  // B as Bb, tabs, chords
  std::vector<const char*> buttons;
};

QStringList Texts(const std::vector<const char*>& texts) {
  QStringList list;
  for (const char* text : texts) list << QString::fromUtf8(text);
  return list;
}

TEST(TransposeDialog, TextsInEnglishAndSwedish) {
  const LanguageCase cases[] = {
      {nullptr,
       "Transpose",
       {"&Steps:", "&Key:", "&Highest tablature value:", "&Lowest tablature value:", "Sample:"},
       {"Transpose &B as Bb (A#)", "Transpose &tabs", "Transpose &chords"},
       {"OK", "Cancel"}},
      {SONAVEL_DIALOGS_SV_QM,
       "Transponera",
       {"&Steg:", "T&onart:", "&Högsta tabulaturvärde:", "&Minsta tabulaturvärde:", "&Exempel:"},
       {"Läs &B som Bb (A#)", "Transponera &tabulatur", "Transponera &ackord"},
       {"OK", "Avbryt"}},
  };
  for (const LanguageCase& c : cases) {
    QTranslator translator;
    if (c.qmFile) {
      ASSERT_TRUE(translator.load(QString::fromUtf8(c.qmFile))) << c.qmFile;
      QCoreApplication::installTranslator(&translator);
    }
    CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.title));
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      labels << label->text();
      EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
    }
    EXPECT_EQ(labels, Texts(c.labels));
    EXPECT_EQ((QStringList{Control<QCheckBox>(dialog, "bIsBess")->text(),
                           Control<QCheckBox>(dialog, "transposeTabs")->text(),
                           Control<QCheckBox>(dialog, "transposeChords")->text()}),
              Texts(c.checkBoxes));
    QStringList buttons;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) buttons << button->text();
    EXPECT_EQ(buttons, Texts(c.buttons));
    if (c.qmFile) QCoreApplication::removeTranslator(&translator);
  }
}

}  // namespace
