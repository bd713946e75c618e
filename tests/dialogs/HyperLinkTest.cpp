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

// A link shown in an active window of its own, with a fake desktop behind it.
class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qunsetenv("BROWSER");
    // Takes the focus when the window opens, so that the link starts out idle.
    auto* field = new QLineEdit(&m_window);
    field->move(10, 50);
    m_link = new CHyperLink(QStringLiteral("Sonavel"), &m_window);
    m_link->move(10, 10);
    m_window.resize(300, 100);
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
  const char* browserVariable;  // $BROWSER, or null for none
  int code;
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
  if (c.browserVariable != nullptr) qputenv("BROWSER", c.browserVariable);
  m_desktop = {c.opens, c.browserStarts, c.registered, {}};
  m_link->SetTarget(QString::fromUtf8(c.target).replace(QStringLiteral("%1"), folder.path()));

  const ShownMessage shown = MessageShownBy([this] { Click(); });
  QStringList calls;
  for (const char* call : c.calls) calls << QString::fromUtf8(call).replace(QStringLiteral("%1"), folder.path());
  EXPECT_EQ(m_desktop.calls, calls);
  EXPECT_EQ(m_link->IsFollowed(), c.code > 32);
  EXPECT_EQ(CHyperLink::LaunchTarget(m_link->Target()), c.code);
  const QString message = QStringLiteral("Can't open link:\n\n") + CHyperLink::LaunchErrorText(c.code);
  EXPECT_EQ(shown.text, c.code > 32 ? QString() : message);
  if (c.code <= 32) {
    EXPECT_EQ(std::pair(shown.title, shown.icon), std::pair(QStringLiteral("Sonavel"), QMessageBox::Warning));
  }
}

INSTANTIATE_TEST_SUITE_P(
    HyperLink, LaunchOrder,
    ::testing::Values(
        LaunchCase{"WebPageByTheDesktop", "URL:https://example.org/a", true, true, true, nullptr, 33,
                   {"open https://example.org/a"}},
        LaunchCase{"BrowserWhenTheDesktopFails", "https://example.org/a", false, true, true, nullptr, 33,
                   {"open https://example.org/a", "start x-www-browser https://example.org/a"}},
        LaunchCase{"BrowserVariableCutAtItsPlaceholder", "mailto:me@example.org", false, true, true,
                   "firefox --new-window %s:chromium", 33,
                   {"open mailto:me@example.org", "start firefox --new-window mailto:me@example.org"}},
        LaunchCase{"NoProgramForTheSchemeAndNoBrowser", "mailto:me@example.org", true, false, false, nullptr, 31,
                   {"start x-www-browser mailto:me@example.org"}},
        LaunchCase{"NeitherStarts", "https://example.org/a", false, true, false, nullptr, 0,
                   {"open https://example.org/a", "start x-www-browser https://example.org/a"}},
        LaunchCase{"LocalFileByTheDesktop", "%1/song.txt", true, true, true, nullptr, 33, {"open file://%1/song.txt"}},
        LaunchCase{"LocalFileWithoutProgramInTheBrowser", "%1/song.txt", true, false, true, nullptr, 33,
                   {"start x-www-browser %1/song.txt"}},
        LaunchCase{"MissingFileIsNotHandedOn", "%1/gone.txt", true, true, true, nullptr, 2, {}},
        LaunchCase{"MissingFolderIsNotHandedOn", "%1/gone/song.txt", true, true, true, nullptr, 3, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HyperLinkTest, ColoursFollowFocusAndVisitsAndOnlySpaceOrAClickInsideFollows) {
  const QPalette& palette = m_link->palette();
  const QColor link = palette.color(QPalette::Link), visited = palette.color(QPalette::LinkVisited);
  m_link->SetTarget(QStringLiteral("https://example.org"));
  EXPECT_EQ(m_link->toolTip(), QStringLiteral("https://example.org"));
  EXPECT_EQ(m_link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(m_link->TextColor(), link);

  m_link->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(m_link->IsEngaged());
  EXPECT_NE(m_link->TextColor(), link);
  EXPECT_NE(m_link->TextColor(), visited);
  QTest::keyClick(m_link, Qt::Key_A);
  EXPECT_TRUE(m_desktop.calls.isEmpty()) << "other keys do nothing";
  QTest::keyClick(m_link, Qt::Key_Space);
  EXPECT_EQ(m_desktop.calls.size(), 1);
  EXPECT_TRUE(m_link->IsFollowed());

  m_link->clearFocus();
  QApplication::processEvents();
  EXPECT_FALSE(m_link->IsEngaged());
  EXPECT_EQ(m_link->TextColor(), visited);

  QTest::mousePress(m_link, Qt::LeftButton, {}, m_link->rect().center());
  EXPECT_TRUE(m_link->hasFocus()) << "a click takes the focus";
  QTest::mouseRelease(m_link, Qt::LeftButton, {}, m_link->rect().bottomRight() + QPoint(5, 5));
  EXPECT_EQ(m_desktop.calls.size(), 1) << "released outside: given up";
  Click();
  EXPECT_EQ(m_desktop.calls.size(), 2);
}

TEST(HyperLink, TextAndTargetStandInForEachOther) {
  CHyperLink textOnly(QStringLiteral("https://example.org/b"));
  EXPECT_EQ(textOnly.Target(), QStringLiteral("https://example.org/b"));
  CHyperLink targetOnly;
  targetOnly.SetTarget(QStringLiteral("mailto:me@example.org"));
  EXPECT_EQ(targetOnly.text(), QStringLiteral("mailto:me@example.org"));
  CHyperLink both(QStringLiteral("Mail me"));
  both.SetTarget(QStringLiteral("mailto:me@example.org"));
  EXPECT_EQ(both.text(), QStringLiteral("Mail me"));
}

TEST(HyperLink, LaunchErrorTextsByCodeInBothLanguages) {
  const struct {
    int code;
    const char* english;
    const char* swedish;
  } rows[] = {
      {4, "Unknown Error (4) occurred.", "Ett okänt fel (4) inträffade."},
      {33, "Unknown Error (33) occurred.", "Ett okänt fel (33) inträffade."},
      {0, "The operating system is out\nof memory or resources.", "Operativsystemet har slut\npå minne eller resurser."},
      {2, "The specified file was not found.", "Den angivna filen hittades inte."},
      {26, "A sharing violation occurred. ", "Ett delningsfel inträffade. "},
      {31, "There is no application associated\nwith the given filename extension.",
       "Det finns inget program kopplat\ntill det angivna filnamnstillägget."},
      {32, "The specified dynamic-link library was not found.", "Det angivna DLL-biblioteket hittades inte."},
  };
  for (const auto& row : rows) EXPECT_EQ(CHyperLink::LaunchErrorText(row.code), QString::fromUtf8(row.english));
  const SwedishTexts swedish;
  for (const auto& row : rows) EXPECT_EQ(CHyperLink::LaunchErrorText(row.code), QString::fromUtf8(row.swedish));
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
  if (c.keptX < 0) {
    EXPECT_EQ(fitted, c.start);
    return;
  }
  const QFontMetrics metrics(link.font());
  EXPECT_NEAR(fitted.width(), metrics.horizontalAdvance(link.text()), 1);
  EXPECT_EQ(fitted.height(), metrics.height());
  const int kept[] = {fitted.left() - c.start.left(), fitted.center().x() - c.start.center().x(),
                      fitted.right() - c.start.right()};
  EXPECT_NEAR(kept[c.keptX], 0, 1);
  const bool centred = c.alignment & Qt::AlignVCenter;
  EXPECT_NEAR(centred ? fitted.center().y() - c.start.center().y() : fitted.top() - c.start.top(), 0, 1);
}

INSTANTIATE_TEST_SUITE_P(
    HyperLink, FitToText,
    ::testing::Values(
        FitCase{"Left", Qt::AlignLeft | Qt::AlignTop, CHyperLink::LS_DEFAULT, QRect(20, 10, 300, 40), 0},
        FitCase{"Centred", Qt::AlignHCenter | Qt::AlignVCenter, CHyperLink::LS_DEFAULT, QRect(20, 10, 300, 40), 1},
        FitCase{"Right", Qt::AlignRight | Qt::AlignTop, CHyperLink::LS_DEFAULT, QRect(20, 10, 300, 40), 2},
        FitCase{"CentredGrowsBothWays", Qt::AlignCenter, CHyperLink::LS_DEFAULT, QRect(200, 10, 4, 2), 1},
        FitCase{"NotAskedFor", Qt::AlignRight, CHyperLink::LS_UNDERLINE, QRect(20, 10, 300, 40), -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
