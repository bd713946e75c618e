// The Transpose dialog: its live sample, its fields and what OK and Cancel
// give back.

#include "dialogs/TransposeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "dialogs/IntegerSpinEdit.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace {

using sonavel::SampleLook;
using sonavel::TransposeOptions;

template <typename Widget = CIntegerSpinEdit>
Widget* Find(const CTransposeDlg& dialog, const char* name) {
  auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// The transposed half of the sample: its chord line and its fret line.
QString Transposed(const CTransposeDlg& dialog) {
  const QStringList lines = dialog.Sample()->toPlainText().split(u'\n');
  return lines.mid(lines.size() - 2).join(u'|');
}

TransposeOptions Make(int steps, int key, bool bIsBess = false, bool chords = true, bool tabs = true, int tabMin = 0,
                      int tabMax = 15) {
  return {steps, key, bIsBess, chords, tabs, tabMin, tabMax};
}

TEST(TransposeDialog, SampleColoursNamesAndFretsInTheLooksColours) {
  // Colours that differ in every byte, so that a swapped byte order shows.
  const SampleLook look{.textcolor = 0x00102030, .chordcolor = 0x00405060, .tabcolor = 0x00708090,
                        .backgroundcolor = 0x00E0F0D0, .useSystemBackground = false, .font = "No Such Face For Sure",
                        .fontBold = true};
  const auto qt = [](unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); };
  CTransposeDlg dialog(Make(1, 20), look);
  int line = 0;
  for (QTextBlock block = dialog.Sample()->document()->begin(); block.isValid(); block = block.next(), ++line) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QChar c : it.fragment().text()) {
        const bool chord = (line == 1 || line == 5) && c != u' ';
        const bool fret = (line == 2 || line == 6) && c.isDigit();
        EXPECT_EQ(format.foreground().color(), qt(chord ? look.chordcolor : fret ? look.tabcolor : look.textcolor))
            << "line " << line << " '" << QString(c).toStdString() << "'";
        EXPECT_EQ(format.fontWeight(), QFont::Bold);
        EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{sonavel::ResolveFontFamily(look.font)});
      }
    }
  }
  EXPECT_EQ(dialog.Sample()->palette().color(QPalette::Base), qt(look.backgroundcolor));
  EXPECT_TRUE(dialog.Sample()->isReadOnly());
}

// The sample shows the original and it transposed, by steps even beyond the
// arrows' range, and follows every control.
TEST(TransposeDialog, SampleFollowsEveryControlAndAFieldWithoutAnIntegerIsMarked) {
  CTransposeDlg dialog(Make(30, 0), SampleLook{});
  EXPECT_TRUE(dialog.Sample()->toPlainText().startsWith(
      QStringLiteral("Original:\nC C# D D# E F F# G G# A A# B \n-0-1-2-3-4-5-6-7-8-9-10-11-\n\nTransposed:\n")));
  EXPECT_EQ(Transposed(dialog), QStringLiteral("F# G G# A A# B C C# D D# E F |-6-7-8-9-10-11-12-13-14-15-4-5-"));
  Find(dialog, "steps")->setText(QStringLiteral("2"));
  Find<QComboBox>(dialog, "key")->setCurrentIndex(20);
  EXPECT_EQ(Transposed(dialog), QStringLiteral("D Eb E F Gb G Ab A Bb B C Db |-2-3-4-5-6-7-8-9-10-11-12-13-"));
  Find(dialog, "tabMaxValue")->setText(QStringLiteral("12"));
  Find<QCheckBox>(dialog, "bIsBess")->setChecked(true);
  EXPECT_EQ(Transposed(dialog), QStringLiteral("D Eb E F Gb G Ab A Bb B C C |-2-3-4-5-6-7-8-9-10-11-12-1-"));
  Find(dialog, "tabMiniValue")->setText(QStringLiteral("5"));  // a window under 12 frets: no folding
  Find<QCheckBox>(dialog, "transposeChords")->setChecked(false);
  EXPECT_EQ(Transposed(dialog), QStringLiteral("C C# D D# E F F# G G# A A# B |-2-3-4-5-6-7-8-9-10-11-12-13-"));
  Find(dialog, "steps")->setText(QStringLiteral("-"));  // keeps its last value in the sample
  Find<QCheckBox>(dialog, "transposeTabs")->setChecked(false);
  EXPECT_TRUE(Find(dialog, "steps")->hasInvalidMark());
  EXPECT_EQ(Transposed(dialog), QStringLiteral("C C# D D# E F F# G G# A A# B |-0-1-2-3-4-5-6-7-8-9-10-11-"));
}

TEST(TransposeDialog, OkGivesBackTheValuesAndCancelNothing) {
  for (const TransposeOptions& options : {TransposeOptions{}, Make(-12, 17, true, false, true, 3, 99),
                                          Make(30, 8, true, true, true, 40, 5)}) {  // out of every range
    CTransposeDlg unchanged(options, SampleLook{});
    unchanged.accept();
    EXPECT_EQ(unchanged.Options(), options);
  }
  CTransposeDlg dialog(TransposeOptions{}, SampleLook{});
  Find(dialog, "steps")->setText(QStringLiteral("-30"));
  Find<QComboBox>(dialog, "key")->setCurrentIndex(17);
  Find<QCheckBox>(dialog, "bIsBess")->setChecked(true);
  Find<QCheckBox>(dialog, "transposeTabs")->setChecked(false);
  Find(dialog, "tabMaxValue")->setText(QStringLiteral("150"));
  Find(dialog, "tabMiniValue")->setText(QStringLiteral("7"));
  CTransposeDlg cancelled(TransposeOptions{}, SampleLook{});
  Find(cancelled, "steps")->setText(QStringLiteral("-7"));
  cancelled.reject();
  EXPECT_EQ(cancelled.Options(), TransposeOptions{});
  dialog.accept();
  EXPECT_EQ(dialog.Options(), Make(-30, 17, true, true, false, 7, 150));
}

TEST(TransposeDialog, OkWithAFieldWithoutAnIntegerSaysSoAndStaysOpen) {
  for (const char* name : {"steps", "tabMaxValue", "tabMiniValue"}) {
    CTransposeDlg dialog(Make(3, 5), SampleLook{});
    dialog.show();
    Find(dialog, name)->setText(QString());
    const ShownMessage prompt = MessageShownBy([&dialog] { dialog.accept(); });
    EXPECT_EQ(prompt.text, QStringLiteral("Please enter an integer.")) << name;
    EXPECT_TRUE(dialog.isVisible() && dialog.result() != QDialog::Accepted) << name;
    EXPECT_EQ(dialog.focusWidget(), Find(dialog, name));
    EXPECT_EQ(dialog.Options(), Make(3, 5));
  }
}

TEST(TransposeDialog, KeysRangesAndFocus) {
  const char* const keys[] = {"C   Am",   "D   Bm",   "E   C#m",  "F   Dm",   "G   Em",   "A   F#m",  "B   G#m",
                              "C#   A#m", "D#   B#m", "E#   Cxm", "F#   D#m", "G#   E#m", "A#   Fxm", "B#   Gxm",
                              "Cb   Abm", "Db   Bbm", "Eb   Cm",  "Fb   Dbm", "Gb   Ebm", "Ab   Fm",  "Bb   Gm"};
  CTransposeDlg dialog(Make(1, 17), SampleLook{});
  auto* keyList = Find<QComboBox>(dialog, "key");
  ASSERT_EQ(keyList->count(), 21);
  for (int k = 0; k < 21; ++k) EXPECT_EQ(keyList->itemText(k), QString::fromLatin1(keys[k])) << k;
  EXPECT_EQ(keyList->currentIndex(), 17);
  for (const auto& [name, low, high] : {std::tuple{"steps", -12, 12}, {"tabMaxValue", 12, 99}, {"tabMiniValue", 0, 99}}) {
    CIntegerSpinEdit* field = Find(dialog, name);
    field->setValue(high);
    field->stepBy(1);
    EXPECT_EQ(field->value(), high) << name;
    field->setValue(low);
    field->stepBy(-1);
    EXPECT_EQ(field->value(), low) << name;
  }
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.focusWidget(), Find(dialog, "steps"));
}

}  // namespace
