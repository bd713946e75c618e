// The program's dialogs and Qt's own in the Swedish interface: every text a
// user reads in them is Swedish, not English the catalogues lack.

#include <QAbstractButton>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "dialogs/AssocDialog.h"
#include "dialogs/FindReplaceDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/TransposeDialog.h"
#include "shell/Translations.h"
#include "tests/support/QtPrinters.h"

namespace {

// Every text of the dialog's labels, buttons, boxes, tabs, tool bars and samples.
QStringList Texts(QWidget& dialog) {
  QStringList texts{dialog.windowTitle()};
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) texts << button->text();
  for (const QGroupBox* box : dialog.findChildren<QGroupBox*>()) texts << box->title();
  for (const QTabWidget* tabs : dialog.findChildren<QTabWidget*>()) {
    for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
  }
  for (const QComboBox* box : dialog.findChildren<QComboBox*>()) {
    for (int i = 0; i < box->count() && i < 20; ++i) texts << box->itemText(i);
  }
  for (const QToolBar* bar : dialog.findChildren<QToolBar*>()) {
    for (const QAction* action : bar->actions()) texts << action->text();
  }
  for (const QTextEdit* sample : dialog.findChildren<QTextEdit*>()) texts << sample->toPlainText();
  texts.removeIf([](const QString& text) {
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
  });
  return texts;
}

struct DialogCase {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
};

void PrintTo(const DialogCase& c, std::ostream* out) { *out << c.name; }

class InSwedish : public ::testing::TestWithParam<DialogCase> {};

TEST_P(InSwedish, ShowsNoEnglishText) {
  const QStringList english = Texts(*GetParam().make());
  CTranslations swedish(QLocale(QLocale::Swedish, QLocale::Sweden));
  const QStringList shown = Texts(*GetParam().make());
  // Names that read the same in both languages: of scripts, of formats.
  const QStringList same = QStringLiteral(
                               "OK|&HTML:|Alias|Standard|Thaana|Devanagari|Bengali|Gurmukhi|Gujarati|Oriya|Tamil|"
                               "Telugu|Kannada|Malayalam|Thai|Khmer|Lao|Ogham|N'Ko")
                               .split(u'|');
  static const QRegularExpression key(QStringLiteral("^[A-H][#bx]* +[A-H][#bx]*m$"));  // "C#   A#m"
  QStringList untranslated;
  for (const QString& text : shown) {
    const bool path = text.startsWith(u'/');
    if (english.contains(text) && !same.contains(text) && !path && !key.match(text).hasMatch()) untranslated << text;
  }
  EXPECT_EQ(untranslated, QStringList());
}

QPrinter& Printer() {
  static QPrinter printer;
  return printer;
}

const DialogCase kDialogs[] = {
    {"FileDialog",
     [] {
       auto dialog = std::make_unique<QFileDialog>();
       dialog->setOption(QFileDialog::DontUseNativeDialog);
       return std::unique_ptr<QWidget>(std::move(dialog));
     }},
    {"PrintDialog", [] { return std::unique_ptr<QWidget>(std::make_unique<QPrintDialog>(&Printer())); }},
    {"PrintPreview", [] { return std::unique_ptr<QWidget>(std::make_unique<QPrintPreviewDialog>(&Printer())); }},
    {"ColourChooser", [] { return std::unique_ptr<QWidget>(std::make_unique<QColorDialog>()); }},
    {"FontChooser", [] { return std::unique_ptr<QWidget>(std::make_unique<QFontDialog>()); }},
    {"Settings", [] { return std::unique_ptr<QWidget>(std::make_unique<CSettingsDlg>([](QWidget*) {})); }},
    {"Transpose", [] { return std::unique_ptr<QWidget>(std::make_unique<CTransposeDlg>(sonavel::TransposeOptions{})); }},
    {"FindReplace", [] { return std::unique_ptr<QWidget>(std::make_unique<CFindReplaceDlg>()); }},
    {"Associations",
     [] {
       const sonavel::CFileAssociations nowhere(QStringLiteral("/usr/bin/sonavel"), QStringLiteral("/nonexistent"),
                                                QStringLiteral("/nonexistent"));
       return std::unique_ptr<QWidget>(std::make_unique<CAssocDlg>(nowhere));
     }},
};

INSTANTIATE_TEST_SUITE_P(QtDialogs, InSwedish, ::testing::ValuesIn(kDialogs), ::testing::PrintToStringParamName());

}  // namespace
