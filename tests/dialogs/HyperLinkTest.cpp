// The hyperlink: what it launches and in which order, when it counts as
// visited, its colours by state, its error texts and its fitting to the text.

#include "dialogs/HyperLink.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/FakeDesktop.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

// A link in an active window of its own, with a fake desktop behind it. The
// field before it takes the focus when the window opens.
class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qunsetenv("BROWSER");
    new QLineEdit(&m_window);
    m_link = new CHyperLink(QStringLiteral("Sonavel"), &m_window);
    m_link->move(10, 40);
    m_window.show();
    QApplication::setActiveWindow(&m_window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
  }

  void Click() { QTest::mouseClick(m_link, Qt::LeftButton, {}, m_link->rect().center()); }

  FakeDesktop m_desktop;
  FakeDesktopInPlace m_inPlace{m_desktop};
  QWidget m_window;
  CHyperLink* m_link = nullptr;
};

struct LaunchCase {
  const char* name;
  const char* target;  // %1 is a folder holding song.txt
  bool opens, registered, browserStarts;
  const char* browserVariable;     // $BROWSER, or null for none
  const char* error;               // the reason shown, or null when the link was followed
  std::vector<const char*> calls;  // %1 as in the target
};

void PrintTo(const LaunchCase& c, std::ostream* out) { *out << c.name; }

class LaunchOrder : public HyperLinkTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchOrder, DesktopFirstBrowserSecondAndVisitedOnlyWhenOneWorked) {
  const LaunchCase& c = GetParam();
  QTemporaryDir folder;
  QFile song(folder.filePath(QStringLiteral("song.txt")));
  ASSERT_TRUE(song.open(QIODevice::WriteOnly));
  song.close();
  const auto inFolder = [&folder](const char* text) { return QString::fromUtf8(text).replace("%1", folder.path()); };
  if (c.browserVariable != nullptr) qputenv("BROWSER", c.browserVariable);
  m_desktop = {c.opens, c.browserStarts, c.registered, {}};
  m_link->SetTarget(inFolder(c.target));

  const ShownMessage shown = MessageShownBy([this] { Click(); });
  QStringList calls;
  for (const char* call : c.calls) calls << inFolder(call);
  EXPECT_EQ(m_desktop.calls, calls);
  EXPECT_EQ(m_link->IsFollowed(), c.error == nullptr);
  EXPECT_EQ(shown.text, c.error ? QStringLiteral("Can't open link:\n\n") + QString::fromUtf8(c.error) : QString());
  EXPECT_EQ(shown.icon, c.error ? QMessageBox::Warning : QMessageBox::NoIcon);
}

INSTANTIATE_TEST_SUITE_P(
    HyperLink, LaunchOrder,
    ::testing::Values(
        LaunchCase{"WebPageByTheDesktop", "URL:https://example.org/a", true, true, true, nullptr, nullptr,
                   {"open https://example.org/a"}},
        LaunchCase{"BrowserVariableCutAtItsPlaceholder", "mailto:me@example.org", false, true, true,
                   "firefox --new-window %s:chromium", nullptr,
                   {"open mailto:me@example.org", "start firefox --new-window mailto:me@example.org"}},
        LaunchCase{"NoProgramForTheSchemeAndNoBrowser", "mailto:me@example.org", true, false, false, nullptr,
                   "There is no application associated\nwith the given filename extension.",
                   {"start x-www-browser mailto:me@example.org"}},
        LaunchCase{"NeitherStarts", "https://example.org/a", false, true, false, nullptr,
                   "The operating system is out\nof memory or resources.",
                   {"open https://example.org/a", "start x-www-browser https://example.org/a"}},
        LaunchCase{"LocalFileByTheDesktop", "%1/song.txt", true, true, true, nullptr, nullptr,
                   {"open file://%1/song.txt"}},
        LaunchCase{"LocalFileWithoutProgramInTheBrowser", "%1/song.txt", true, false, true, nullptr, nullptr,
                   {"start x-www-browser %1/song.txt"}},
        LaunchCase{"MissingFileIsNotHandedOn", "%1/gone.txt", true, true, true, nullptr,
                   "The specified file was not found.", {}},
        LaunchCase{"MissingFolderIsNotHandedOn", "%1/gone/song.txt", true, true, true, nullptr,
                   "The specified path was not found.", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HyperLinkTest, ColoursFollowFocusAndVisitsAndOnlySpaceOrAClickInsideFollows) {
  const QColor link = m_link->palette().color(QPalette::Link), visited = m_link->palette().color(QPalette::LinkVisited);
  m_link->SetTarget(QStringLiteral("https://example.org"));
  EXPECT_EQ(std::pair(m_link->toolTip(), m_link->TextColor()), std::pair(QStringLiteral("https://example.org"), link));

  m_link->setFocus();
  EXPECT_TRUE(m_link->IsEngaged());
  EXPECT_NE(m_link->TextColor(), link);
  EXPECT_NE(m_link->TextColor(), visited);
  QTest::keyClick(m_link, Qt::Key_A);
  EXPECT_TRUE(m_desktop.calls.isEmpty()) << "other keys do nothing";
  QTest::keyClick(m_link, Qt::Key_Space);
  EXPECT_EQ(m_desktop.calls.size(), 1);

  m_link->clearFocus();
  EXPECT_EQ(m_link->TextColor(), visited);
  QTest::mousePress(m_link, Qt::LeftButton, {}, m_link->rect().center());
  EXPECT_TRUE(m_link->hasFocus()) << "a click takes the focus";
  QTest::mouseRelease(m_link, Qt::LeftButton, {}, m_link->rect().bottomRight() + QPoint(5, 5));
  EXPECT_EQ(m_desktop.calls.size(), 1) << "released outside: given up";
  Click();
  EXPECT_EQ(m_desktop.calls.size(), 2);

  CHyperLink targetOnly;
  targetOnly.SetTarget(QStringLiteral("mailto:me@example.org"));
  EXPECT_EQ(targetOnly.text(), targetOnly.Target()) << "shows its target";
  EXPECT_EQ(CHyperLink(QStringLiteral("https://a.example")).Target(), QStringLiteral("https://a.example"));
}

TEST(HyperLink, ErrorTextsWithoutOneOfTheirOwnGiveTheCodeInBothLanguages) {
  EXPECT_EQ(CHyperLink::LaunchErrorText(4), QStringLiteral("Unknown Error (4) occurred."));
  EXPECT_EQ(CHyperLink::LaunchErrorText(26), QStringLiteral("A sharing violation occurred. "));
  const SwedishTexts swedish;
  EXPECT_EQ(CHyperLink::LaunchErrorText(4), QStringLiteral("Ett okänt fel (4) inträffade."));
  const ShownMessage shown = MessageShownBy([] { CHyperLink::ShowLaunchError(2, nullptr); });
  EXPECT_EQ(shown.text, QStringLiteral("Kan inte öppna länken:\n\nDen angivna filen hittades inte."));
}

struct FitCase {
  const char* name;
  Qt::Alignment alignment;
  unsigned style;
  QRect start;
  int keptX;  // what stays where it was: 0 the left edge, 1 the centre, 2 the right edge, -1 everything
};

void PrintTo(const FitCase& c, std::ostream* out) { *out << c.name; }

class FitToText : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToText, KeepsTheEdgeOrCentreItsAlignmentNames) {
  const FitCase& c = GetParam();
  QWidget parent;
  CHyperLink link(QStringLiteral("Sonavel"), &parent, c.style);
  link.setAlignment(c.alignment);
  link.setGeometry(c.start);
  link.SetTarget(QStringLiteral("https://example.org"));
  const QRect fitted = link.geometry();
  const QFontMetrics metrics(link.font());
  const QSize text(metrics.horizontalAdvance(link.text()), metrics.height());
  const int kept[] = {fitted.left() - c.start.left(), fitted.center().x() - c.start.center().x(),
                      fitted.right() - c.start.right()};
  if (c.keptX < 0) {
    EXPECT_EQ(fitted, c.start);
  } else {
    EXPECT_NEAR(fitted.width(), text.width(), 1);
    EXPECT_EQ(fitted.height(), text.height());
    EXPECT_NEAR(kept[c.keptX], 0, 1);
    const bool centred = c.alignment & Qt::AlignVCenter;
    EXPECT_NEAR(centred ? fitted.center().y() - c.start.center().y() : fitted.top() - c.start.top(), 0, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    HyperLink, FitToText,
    ::testing::Values(FitCase{"Left", Qt::AlignLeft | Qt::AlignTop, CHyperLink::LS_DEFAULT, {20, 10, 300, 40}, 0},
                      FitCase{"Centred", Qt::AlignCenter, CHyperLink::LS_DEFAULT, {20, 10, 300, 40}, 1},
                      FitCase{"Right", Qt::AlignRight | Qt::AlignTop, CHyperLink::LS_DEFAULT, {20, 10, 300, 40}, 2},
                      FitCase{"CentredGrowsBothWays", Qt::AlignCenter, CHyperLink::LS_DEFAULT, {200, 10, 4, 2}, 1},
                      FitCase{"NotAskedFor", Qt::AlignRight, CHyperLink::LS_UNDERLINE, {20, 10, 300, 40}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
