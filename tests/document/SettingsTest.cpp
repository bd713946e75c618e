#include <tuple>

#include "SettingsTestSupport.h"
#include "document/DocumentOptions.h"
#include "document/Settings.h"

namespace sonavel {

// A failure shows the fields in the order they are declared, not the record's bytes.
void PrintTo(const SettingsValues& s, std::ostream* os) {
  *os << std::hex << s.backgroundcolor << ' ' << s.textcolor << ' ' << s.chordcolor << ' ' << s.tabcolor << std::dec
      << ' ' << s.useSystemBackground << " \"" << s.font << "\" " << s.fontBold << s.fontItalic << s.wordWrap << ' '
      << s.fontSize << ' ' << s.steps << ' ' << s.key << ' ' << s.bIsBess << s.chordInBrackets << s.transposeChords
      << s.transposeTabs << ' ' << s.tabMiniValue << ' ' << s.tabMaxValue << ' ' << s.quickExit << s.autoColor
      << s.autoColorOnOpen;
}

}  // namespace sonavel

namespace sonavel::test {
namespace {

const SettingsValues& Values(const CSettings& settings) { return settings; }
CSettings Unbound() { return CSettings(SettingsStore::WithoutFile(), SettingsPersistence::ReadOnly); }

using SettingsTest = StoreTest;

TEST_F(SettingsTest, AnEmptyStoreGivesTheDefaultsAndEveryFieldSurvivesARestart) {
  CSettings first(store);
  EXPECT_EQ(Values(first), Values(Unbound()));
  // A document made without settings has defaults of its own; the two must agree.
  EXPECT_EQ(DocumentOptions::FromSettings(first), DocumentOptions{});
  // Every field away from its default, in the order they are declared;
  // tabMiniValue above tabMaxValue, since no field is checked against another.
  static_cast<SettingsValues&>(first) = {0x00102030, 0x00010203, 0x00A0B0C0, 0x000A0B0C, false, "DejaVu Sans Mono",
                                         true,       true,       false,      -14,        -7,    20,
                                         true,       true,       false,      false,      99,    3,
                                         false,      true,       false};
  first.Save();
  EXPECT_EQ(Values(CSettings(store)), Values(first));
}

// What one run of the program leaves in place of a stored value: the value
// as loaded, or the default where it was not taken.
TEST_F(SettingsTest, LoadingTakesWhatTheRulesAllowAndSavingWritesItBack) {
  const struct {
    const char* label;
    const char* subkey;
    const char* name;
    RawValue stored, saved;
  } rows[] = {
      {"stepsOutOfRange", kTransposing, "steps", Number(13), Number(1)},
      {"stepsAtTheBound", kTransposing, "steps", Number(-12), Number(-12)},
      {"tabMaxOutOfRange", kTransposing, "tabMaxValue", Number(100), Number(15)},
      {"tabMaxAtZero", kTransposing, "tabMaxValue", Number(0), Number(0)},
      {"fontSizeUnbounded", kMain, "fontSize", Number(0x80000000), Number(0x80000000)},
      {"colorWithHighByte", kMain, "chordcolor", Number(0x01000000), Number(0x00FF0000)},
      {"colorEqualToTheTabColor", kMain, "chordcolor", Number(0x000000FF), Number(0x000000FF)},
      {"flagTwoIsOne", "Software\\Quillon Works\\Sonavel\\Settings\\misc", "autoColor", Number(2), Number(1)},
      {"flagOfEightBytesIsFalse", kMain, "wordWrap", {REG_BINARY, {5, 0, 0, 0, 0, 0, 0, 0}}, Number(0)},
      {"fontAsDwordIsEmpty", kMain, "font", {REG_DWORD, {9, 0, 0, 0}}, {REG_SZ, {0}}},
  };
  for (const auto& row : rows) {
    Put(row.subkey, row.name, row.stored);
    CSettings{store};  // loads, and saves as it goes
    EXPECT_EQ(Raw(row.subkey, row.name), row.saved) << row.label;
  }
}

// Two editors on one store: each saves what it changed, directly or through a
// dialog's working copy, and leaves the other's changes alone. A field a
// dialog changed counts even when a later dialog puts it back.
TEST_F(SettingsTest, EachOfTwoInstancesSavesOnlyWhatItChanged) {
  CSettings{store};  // a first run stores every value
  CSettings mine(store);
  CSettings theirs(std::make_shared<SettingsStore>(file));
  CSettings edited = mine.WorkingCopy();
  edited.autoColor = true;
  mine = edited;
  edited.autoColor = false;
  mine = edited;
  theirs.steps = 5;
  theirs.autoColor = true;
  theirs.Save();
  mine.Save();
  const CSettings after(store);
  EXPECT_EQ(std::tie(after.steps, after.autoColor), std::tuple(5, false));
}

TEST(SettingsValidateColors, ResetsAllFourOnlyWhenTwoMarkingColorsAreEqual) {
  const struct {
    ColorRef background, text, chord, tab;
    bool reset;
  } rows[] = {{1, 2, 3, 4, false}, {1, 2, 3, 3, true}, {1, 2, 2, 4, true}, {1, 2, 3, 2, true}, {2, 2, 3, 4, false}};
  for (const auto& row : rows) {
    CSettings settings = Unbound();
    std::tie(settings.backgroundcolor, settings.textcolor, settings.chordcolor, settings.tabcolor) =
        std::tie(row.background, row.text, row.chord, row.tab);
    const SettingsValues before = settings;
    settings.ValidateColors();
    EXPECT_EQ(Values(settings), row.reset ? Values(Unbound()) : before)
        << row.background << ' ' << row.text << ' ' << row.chord << ' ' << row.tab;
  }
}

// The record a scope installs saves as the scope ends unless it is read-only,
// and a read-only one on the per-user store creates nothing. A dialog edits
// a working copy, which never saves, and assigns it back: that brings the
// copy's store along and keeps the record saving. In a process of its own,
// since the per-user store is found through the environment.
TEST_F(SettingsTest, ScopeInstallsARecordThatSavesAtItsEndUnlessReadOnly) {
  const auto loadedSteps = [&] {
    ::setenv("XDG_CONFIG_HOME", directory.path.c_str(), 1);
    SettingsScope scope(SettingsPersistence::ReadOnly);
    const int loaded = std::exchange(theSettings().steps, 9);
    theSettings().Save();
    return loaded;
  };
  EXPECT_EQ(InChildProcess(loadedSteps), 1);
  EXPECT_FALSE(fs::exists(directory.path / "Quillon Works")) << "a reader creates nothing";

  EXPECT_EQ(Values(theSettings()), Values(Unbound())) << "outside a scope";
  EXPECT_EQ(theSettings().Persistence(), SettingsPersistence::ReadOnly) << "outside a scope";
  CSettings* const outside = &theSettings();
  const fs::path perUser = directory.path / "Quillon Works" / "Sonavel" / "registry.sqlite3";
  const CSettings original(std::make_shared<SettingsStore>(perUser));
  {
    SettingsScope scope(SettingsStore::WithoutFile(), SettingsPersistence::LoadAndSave);
    ASSERT_EQ(&theSettings(), &scope.Settings());
    CSettings edited = original.WorkingCopy();
    edited.steps = 2;
    theSettings() = edited;
    {
      CSettings cancelled = theSettings().WorkingCopy();
      cancelled.steps = 5;
    }
    EXPECT_EQ(Value(perUser, kTransposing, "steps"), std::nullopt) << "saved too early";
  }
  EXPECT_EQ(&theSettings(), outside);
  const std::string before = ReadFile(perUser);
  EXPECT_EQ(InChildProcess(loadedSteps), 2);
  EXPECT_TRUE(ReadFile(perUser) == before) << "the store was written";
}

}  // namespace
}  // namespace sonavel::test
