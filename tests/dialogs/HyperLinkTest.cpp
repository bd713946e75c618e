// The hyperlink: what it launches and in which order, when it counts as
// visited, its colours by state, its error texts and its fitting to the text.

#include "dialogs/HyperLink.h"

#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/FakeDesktop.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

TEST(HyperLink, DesktopFirstBrowserSecondAndVisitedOnlyWhenOneWorked) {
  const struct {
    const char* target;
    FakeDesktop desktop;          // its answers
    const char* browserVariable;  // $BROWSER, or null for none
    const char* error;            // the reason shown, or null when the link was followed
    QStringList calls;
  } rows[] = {
      {"URL:https://example.org/a", {true, true, true, {}}, nullptr, nullptr, {"open https://example.org/a"}},
      {"mailto:me@example.org", {false, true, true, {}}, "firefox --new-window %s:chromium", nullptr,
       {"open mailto:me@example.org", "start firefox --new-window mailto:me@example.org"}},
      {"mailto:me@example.org", {true, false, false, {}}, nullptr,
       "There is no application associated\nwith the given filename extension.",
       {"start x-www-browser mailto:me@example.org"}},
      // The tune the build writes stands for a local file: it is there whenever this program is.
      {SONAVEL_SHIPPED_TUNER, {true, true, false, {}}, nullptr, nullptr,
       {"start x-www-browser " SONAVEL_SHIPPED_TUNER}},
      {SONAVEL_SHIPPED_TUNER ".gone", {}, nullptr, "The specified file was not found.", {}},
      {SONAVEL_SHIPPED_TUNER "/song.txt", {}, nullptr, "The specified path was not found.", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.target);
    qputenv("BROWSER", row.browserVariable);
    FakeDesktop desktop = row.desktop;
    const FakeDesktopInPlace inPlace(desktop);
    CHyperLink link(QStringLiteral("Sonavel"));
    link.SetTarget(QString::fromUtf8(row.target));
    const QString said = MessageShownBy([&link] { link.Follow(); }).Said();
    EXPECT_EQ(desktop.calls, row.calls);
    EXPECT_EQ(link.IsFollowed(), row.error == nullptr);
    EXPECT_EQ(said, row.error ? QStringLiteral("2 Can't open link:\n\n") + QString::fromUtf8(row.error) : QString());
  }
}

TEST(HyperLink, SpaceOrAClickInsideFollowsAndTheColourShowsFocusAndVisits) {
  FakeDesktop desktop;
  const FakeDesktopInPlace inPlace(desktop);
  QWidget window;
  auto* link = new CHyperLink(QStringLiteral("Sonavel"), &window);
  const QColor linked = link->palette().color(QPalette::Link), visited = link->palette().color(QPalette::LinkVisited);
  link->SetTarget(QStringLiteral("https://example.org"));
  EXPECT_EQ(std::pair(link->toolTip(), link->TextColor()), std::pair(QStringLiteral("https://example.org"), linked));
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  link->setFocus();
  EXPECT_TRUE(link->TextColor() != linked && link->TextColor() != visited) << "engaged";
  QTest::keyClick(link, Qt::Key_A);
  EXPECT_TRUE(desktop.calls.isEmpty()) << "other keys do nothing";
  QTest::keyClick(link, Qt::Key_Space);
  EXPECT_EQ(desktop.calls.size(), 1);

  link->clearFocus();
  EXPECT_EQ(link->TextColor(), visited);
  QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
  EXPECT_TRUE(link->hasFocus()) << "a click takes the focus";
  QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().bottomRight() + QPoint(5, 5));
  EXPECT_EQ(desktop.calls.size(), 1) << "released outside: given up";
  QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
  EXPECT_EQ(desktop.calls.size(), 2);
}

TEST(HyperLink, ErrorTextsWithoutOneOfTheirOwnGiveTheCodeInBothLanguages) {
  EXPECT_EQ(CHyperLink::LaunchErrorText(4), QStringLiteral("Unknown Error (4) occurred."));
  const SwedishTexts swedish;
  EXPECT_EQ(CHyperLink::LaunchErrorText(4), QStringLiteral("Ett okänt fel (4) inträffade."));
  const ShownMessage shown = MessageShownBy([] { CHyperLink::ShowLaunchError(2, nullptr); });
  EXPECT_EQ(shown.text, QStringLiteral("Kan inte öppna länken:\n\nDen angivna filen hittades inte."));
}

TEST(HyperLink, FitsItsTextKeepingTheEdgeOrCentreItsAlignmentNames) {
  const struct {
    Qt::Alignment alignment;
    QRect start;
    QPoint (QRect::*kept)() const noexcept;
  } rows[] = {
      {Qt::AlignLeft | Qt::AlignTop, {20, 10, 300, 40}, &QRect::topLeft},
      {Qt::AlignCenter, {20, 10, 300, 40}, &QRect::center},
      {Qt::AlignRight | Qt::AlignTop, {20, 10, 300, 40}, &QRect::topRight},
      {Qt::AlignCenter, {200, 10, 4, 2}, &QRect::center},  // grows both ways
  };
  for (const auto& row : rows) {
    QWidget parent;
    CHyperLink link(QStringLiteral("Sonavel"), &parent);
    link.setAlignment(row.alignment);
    link.setGeometry(row.start);
    link.SetTarget(QStringLiteral("https://example.org"));
    const QRect fitted = link.geometry();
    const QFontMetrics metrics(link.font());
    EXPECT_EQ(fitted.height(), metrics.height()) << row.alignment;
    EXPECT_NEAR(fitted.width(), metrics.horizontalAdvance(link.text()), 1) << row.alignment;
    EXPECT_LE(((fitted.*row.kept)() - (row.start.*row.kept)()).manhattanLength(), 1) << row.alignment;
  }
}

}  // namespace
