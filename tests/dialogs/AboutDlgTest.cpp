// The About box: its texts, version, icons and links in both languages.

#include "dialogs/AboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "dialogs/HyperLink.h"
#include "shell/PathUtils.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

struct AboutCase {
  const char* name;
  bool swedish;
  const char* texts;  // title, the labels and the button, joined by "|"
  const char* webPage;
  const char* readMe;
};

void PrintTo(const AboutCase& c, std::ostream* out) { *out << c.name; }

class AboutTexts : public ::testing::TestWithParam<AboutCase> {};

TEST_P(AboutTexts, VersionLinksAndIconsInTheLanguageAndNothingClipped) {
  const AboutCase& c = GetParam();
  std::unique_ptr<SwedishTexts> swedish(c.swedish ? new SwedishTexts : nullptr);
  CAboutDlg dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

  QStringList texts{dialog.windowTitle()};
  int icons = 0;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->pixmap().isNull()) ++icons;
    else texts << label->text();
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
  }
  auto* ok = dialog.findChild<QPushButton*>();
  texts << ok->text();
  EXPECT_EQ(dialog.focusWidget(), ok) << "no link starts out engaged";
  EXPECT_EQ(texts.join(u'|'), QString::fromUtf8(c.texts).arg(QStringLiteral(SONAVEL_VERSION)));
  EXPECT_EQ(icons, 2);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Sonavel \\d+\\.\\d+")).match(CAboutDlg::VersionText()).hasMatch());

  const auto target = [&dialog](const char* name) {
    auto* link = dialog.findChild<CHyperLink*>(QString::fromLatin1(name));
    EXPECT_EQ(link->toolTip(), link->Target());
    return link->Target();
  };
  EXPECT_EQ(target("linkWeb"), QString::fromUtf8(c.webPage));
  EXPECT_EQ(target("linkMail"), QStringLiteral("mailto:sonavel@quillon-works.example"));
  EXPECT_EQ(target("linkReadMe"), ProgramPath(true) + QString::fromUtf8(c.readMe));

  dialog.setResult(QDialog::Accepted);
  ok->click();
  EXPECT_EQ(std::pair(dialog.isVisible(), dialog.result()), std::pair(false, int(QDialog::Rejected))) << "as Escape";
}

INSTANTIATE_TEST_SUITE_P(
    AboutDlg, AboutTexts,
    ::testing::Values(AboutCase{"English", false,
                                "About Sonavel|Sonavel %1|https://quillon-works.example/en/sonavel/|"
                                "sonavel@quillon-works.example|More information and help will be found in |"
                                "ReadMe file|OK",
                                "URL:https://quillon-works.example/en/sonavel/", "ReadMe (english).txt"},
                      AboutCase{"Swedish", true,
                                "Om Sonavel|Sonavel %1|https://quillon-works.example/|sonavel@quillon-works.example|"
                                "För mer information (hjälp och liknande) läs i |ReadMe-filen.|OK",
                                "URL:https://quillon-works.example/", "readme.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
