// The Settings dialog: what its buttons, choosers and the nested Transpose
// dialog leave in the program's settings and the store after OK or Cancel,
// the font chooser's conversions and the Associate button.

#include "dialogs/SettingsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "dialogs/FontChoice.h"
#include "dialogs/IntegerSpinEdit.h"
#include "dialogs/SampleLook.h"
#include "dialogs/TransposeDialog.h"
#include "document/SettingsStore.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace sonavel {
namespace {

using Action = std::function<void(CSettingsDlg&)>;

// In the order of the fields.
SettingsValues Defaults() {
  return {0x00FFFFFF, 0, 0x00FF0000, 0x000000FF, true, "Fixedsys", false, false, true, 9, 1, 0, false, false,
          true,       true, 0, 15, true, false, true};
}

// Every field away from its default; colours that differ in every byte.
SettingsValues Changed() {
  return {0x00EEFFC0, 0x00102030, 0x00405060, 0x00708090, false, "Some Face", true, true, false, 14, -3, 17, true,
          true,       false,      false,      2,          40,         false, true,        false};
}

SettingsValues With(SettingsValues values, const std::function<void(SettingsValues&)>& change) {
  change(values);
  return values;
}

SettingsValues DefaultColors(SettingsValues v) {
  const SettingsValues d = Defaults();
  std::tie(v.backgroundcolor, v.textcolor, v.chordcolor, v.tabcolor) =
      std::tie(d.backgroundcolor, d.textcolor, d.chordcolor, d.tabcolor);
  return v;
}

QColor SampleColorAt(const CSettingsDlg& dialog, int position) {
  QTextCursor cursor(dialog.Sample()->document());
  cursor.setPosition(position + 1);
  return cursor.charFormat().foreground().color();
}

void Press(CSettingsDlg& dialog, const char* button) {
  dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// An invalid colour cancels the chooser.
Action ChooseColor(const char* button, QColor color) {
  return [button, color](CSettingsDlg& dialog) {
    WhenModal<QColorDialog>([color](QColorDialog* chooser) {
      if (!color.isValid()) return chooser->reject();
      chooser->setCurrentColor(color);
      chooser->accept();
    });
    Press(dialog, button);
  };
}

Action Transpose(bool ok) {
  return [ok](CSettingsDlg& dialog) {
    WhenModal<CTransposeDlg>([ok](CTransposeDlg* transpose) {
      transpose->findChild<CIntegerSpinEdit*>(QStringLiteral("steps"))->setText(QStringLiteral("5"));
      ok ? transpose->accept() : transpose->reject();
    });
    Press(dialog, "transposing");
  };
}

// Each test on a store of its own, bound to theSettings().
class SettingsDialogTest : public ::testing::Test {
 protected:
  QTemporaryDir directory;
  std::shared_ptr<SettingsStore> store =
      std::make_shared<SettingsStore>(directory.filePath(QStringLiteral("registry.sqlite3")).toStdString());
  SettingsScope scope{store, SettingsPersistence::LoadAndSave};
};

TEST_F(SettingsDialogTest, OkStoresTheWorkingCopyWithDistinctMarkingColoursAndCancelNothing) {
  // A face this machine has, upright and of normal weight.
  const QString face = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
  const struct {
    const char* name;
    SettingsValues start;
    Action act;
    bool ok;
    SettingsValues expected;
  } rows[] = {
      {"OK at once", Changed(), {}, true, Changed()},
      {"equal colours at the start", With(Changed(), [](auto& s) { s.tabcolor = s.textcolor; }), {}, true,
       DefaultColors(Changed())},
      {"chord colour as the background's", Changed(), ChooseColor("chordColor", QColor(0xC0, 0xFF, 0xEE)), true,
       With(Changed(), [](auto& s) { s.chordcolor = 0xEEFFC0; })},
      {"tab colour", Changed(), ChooseColor("tabColor", Qt::green), true,
       With(Changed(), [](auto& s) { s.tabcolor = 0x00FF00; })},
      {"text colour chooser cancelled", Changed(), ChooseColor("textColor", QColor()), true, Changed()},
      {"background colour, then Cancel", Changed(), ChooseColor("backgroundColor", Qt::red), false, Changed()},
      {"default values, cancelled", Changed(), [](CSettingsDlg& d) { Press(d, "defaultValues"); }, false, Changed()},
      {"default values", Changed(), [](CSettingsDlg& d) { Press(d, "defaultValues"); }, true, Defaults()},
      {"every switch flipped", Changed(),
       [](CSettingsDlg& d) {
         for (QCheckBox* box : d.findChildren<QCheckBox*>()) box->toggle();
       },
       true,
       With(Changed(), [](auto& s) {
         s.useSystemBackground = s.wordWrap = s.quickExit = s.autoColorOnOpen = true;
         s.chordInBrackets = s.autoColor = false;
       })},
      {"transposing", Changed(), Transpose(true), true, With(Changed(), [](auto& s) { s.steps = 5; })},
      {"transposing cancelled", Changed(), Transpose(false), true, Changed()},
      {"transposing, then Cancel", Changed(), Transpose(true), false, Changed()},
      {"font", With(Defaults(), [face](auto& s) { s.font = face.toStdString(); }),
       [](CSettingsDlg& d) {
         WhenModal<QFontDialog>([](QFontDialog* chooser) {
           QFont font = chooser->currentFont();
           EXPECT_EQ(std::tuple(QFontInfo(font).pointSize(), font.weight(), font.italic()),
                     std::tuple(9, QFont::Normal, false));
           EXPECT_FALSE(font.styleName().contains(QStringLiteral("Condensed"))) << "the plainest style";
           for (const QGroupBox* part : chooser->findChildren<QGroupBox*>()) EXPECT_FALSE(part->isVisible());
           font.setPointSize(17);
           chooser->setCurrentFont(font);
           chooser->accept();
         });
         Press(d, "font");
       },
       true, With(Defaults(), [face](auto& s) {
         s.font = face.toStdString();
         s.fontSize = 17;
       })},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    static_cast<SettingsValues&>(theSettings()) = row.start;
    theSettings().Save();
    CSettingsDlg dialog;
    if (row.act) row.act(dialog);
    const SettingsValues& shown = dialog.WorkingCopy();
    // The sample shows the working copy: text, the first chord, the first fret.
    const QPalette system = QApplication::palette();
    EXPECT_EQ(dialog.Sample()->palette().color(QPalette::Base),
              shown.useSystemBackground ? system.color(QPalette::Base) : ToQColor(shown.backgroundcolor));
    EXPECT_EQ(std::tuple(SampleColorAt(dialog, 0), SampleColorAt(dialog, 8), SampleColorAt(dialog, 45)),
              std::tuple(ToQColor(shown.textcolor), ToQColor(shown.chordcolor), ToQColor(shown.tabcolor)));
    const QTextCharFormat format = dialog.Sample()->textCursor().charFormat();
    EXPECT_EQ(std::tuple(format.fontPointSize(), format.fontUnderline(), format.fontStrikeOut()),
              std::tuple(double(shown.fontSize), false, false));
    row.ok ? dialog.accept() : dialog.reject();
    EXPECT_EQ(static_cast<SettingsValues&>(theSettings()), row.expected);
    EXPECT_EQ(SettingsValues(CSettings(store, SettingsPersistence::ReadOnly)), row.expected);
  }
}

TEST(FontChoice, ChosenFaceKeptWholeOnlyWeight700BoldTenthsDroppedAndStartHeightFromResolution) {
  const struct {
    double points;
    int weight;
    std::int32_t fontSize;
  } rows[] = {{10.5, 400, 10}, {12, 600, 12}, {12.96, 700, 13}, {12, 900, 12}};
  const std::string family = "A face whose name is longer than thirty-one characters";
  for (const auto& row : rows) {
    QFont chosen(QString::fromStdString(family));
    chosen.setPointSizeF(row.points);
    chosen.setWeight(static_cast<QFont::Weight>(row.weight));
    SettingsValues settings = Defaults();
    TakeChosenFont(chosen, settings);
    EXPECT_EQ(std::tuple(settings.font, settings.fontSize, settings.fontBold),
              std::tuple(family, row.fontSize, row.weight == 700));
    const QFont start = ChooserStartFont(settings, 144);
    EXPECT_EQ(std::tuple(start.pixelSize(), start.bold()), std::tuple(row.fontSize * 2, row.weight == 700));
  }
  EXPECT_EQ(ChooserStartFont(With(Defaults(), [](auto& s) { s.fontSize = 11; }), 96).pixelSize(), 15);
  EXPECT_EQ(ChooserStartFont(Defaults(), 96).family(), ResolveFontFamily("Fixedsys"));
  EXPECT_EQ(ChooserStartFont(With(Defaults(), [](auto& s) { s.fontSize = -5; }), 96).pixelSize(), 1);
}

TEST_F(SettingsDialogTest, AssociateButtonOnlyWithAFunctionWhichGetsTheDialog) {
  EXPECT_TRUE(CSettingsDlg().findChild<QPushButton*>(QStringLiteral("associate"))->isHidden());
  QWidget* parent = nullptr;
  CSettingsDlg dialog([&parent](QWidget* p) { parent = p; });
  Press(dialog, "associate");
  EXPECT_EQ(parent, &dialog);
  EXPECT_TRUE(dialog.Sample()->isReadOnly());
}

}  // namespace
}  // namespace sonavel
