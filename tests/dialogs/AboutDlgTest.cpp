// The About box: its texts, version and links in both languages.

#include "dialogs/AboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/HyperLink.h"
#include "shell/PathUtils.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

// The title, the labels' texts and the button's, then the links' targets;
// %1 is the version built, %2 the program's folder.
constexpr const char* kEnglish =
    "About Sonavel|Sonavel %1|https://quillon-works.example/en/sonavel/|sonavel@quillon-works.example|"
    "More information and help will be found in |ReadMe file|OK|URL:https://quillon-works.example/en/sonavel/|"
    "mailto:sonavel@quillon-works.example|%2ReadMe (english).txt";
constexpr const char* kSwedish =
    "Om Sonavel|Sonavel %1|https://quillon-works.example/|sonavel@quillon-works.example|"
    "För mer information (hjälp och liknande) läs i |ReadMe-filen.|OK|URL:https://quillon-works.example/|"
    "mailto:sonavel@quillon-works.example|%2readme.txt";

TEST(AboutDlg, VersionLinksAndTextsInTheLanguageAndNothingClipped) {
  for (const bool swedish : {false, true}) {
    const SwedishTexts translated(swedish);
    CAboutDlg dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QStringList texts{dialog.windowTitle()}, targets;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->pixmap().isNull()) texts << label->text();
      if (auto* link = qobject_cast<CHyperLink*>(label)) targets << link->Target();
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    auto* ok = dialog.findChild<QPushButton*>();
    EXPECT_EQ(dialog.focusWidget(), ok) << "no link starts out engaged";
    texts << ok->text() << targets;
    const QString expected = QString::fromUtf8(swedish ? kSwedish : kEnglish);
    EXPECT_EQ(texts.join(u'|'), expected.arg(QStringLiteral(SONAVEL_VERSION), ProgramPath(true)));
  }
}

}  // namespace
