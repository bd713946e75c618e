#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "SettingsTestSupport.h"
#include "document/DocumentOptions.h"
#include "document/Settings.h"
#include "document/SettingsStore.h"

namespace sonavel {
namespace {

using namespace std::string_literals;
using test::Bytes;
using test::BytesOf;
using test::RawDatabase;
using test::RawValue;
using test::TempDirectory;

constexpr const char* kSettingsKey = "Software\\Quillon Works\\Sonavel\\Settings";
constexpr const char* kMain = "Software\\Quillon Works\\Sonavel\\Settings\\main";
constexpr const char* kMisc = "Software\\Quillon Works\\Sonavel\\Settings\\misc";
constexpr const char* kTransposing = "Software\\Quillon Works\\Sonavel\\Settings\\Transposing";

auto Fields(const CSettings& s) {
  return std::tie(s.backgroundcolor, s.textcolor, s.chordcolor, s.tabcolor, s.useSystemBackground,
                  s.font, s.fontBold, s.fontItalic, s.wordWrap, s.fontSize, s.steps, s.key,
                  s.bIsBess, s.chordInBrackets, s.transposeChords, s.transposeTabs, s.tabMiniValue,
                  s.tabMaxValue, s.quickExit, s.autoColor, s.autoColorOnOpen);
}

void ExpectDefaults(const CSettings& s) {
  EXPECT_EQ(s.backgroundcolor, 0x00FFFFFFu);
  EXPECT_EQ(s.textcolor, 0x00000000u);
  EXPECT_EQ(s.chordcolor, 0x00FF0000u);
  EXPECT_EQ(s.tabcolor, 0x000000FFu);
  EXPECT_TRUE(s.useSystemBackground);
  EXPECT_EQ(s.font, "Fixedsys");
  EXPECT_FALSE(s.fontBold);
  EXPECT_FALSE(s.fontItalic);
  EXPECT_TRUE(s.wordWrap);
  EXPECT_EQ(s.fontSize, 9);
  EXPECT_EQ(s.steps, 1);
  EXPECT_EQ(s.key, 0);
  EXPECT_FALSE(s.bIsBess);
  EXPECT_FALSE(s.chordInBrackets);
  EXPECT_TRUE(s.transposeChords);
  EXPECT_TRUE(s.transposeTabs);
  EXPECT_EQ(s.tabMiniValue, 0);
  EXPECT_EQ(s.tabMaxValue, 15);
  EXPECT_TRUE(s.quickExit);
  EXPECT_FALSE(s.autoColor);
  EXPECT_TRUE(s.autoColorOnOpen);
}

// Every field away from its default; tabMiniValue above tabMaxValue on
// purpose, since no field is checked against another.
void SetNonDefaults(CSettings& s) {
  s.backgroundcolor = 0x00102030;
  s.textcolor = 0x00010203;
  s.chordcolor = 0x00A0B0C0;
  s.tabcolor = 0x000A0B0C;
  s.useSystemBackground = false;
  s.font = "DejaVu Sans Mono";
  s.fontBold = true;
  s.fontItalic = true;
  s.wordWrap = false;
  s.fontSize = -14;
  s.steps = -7;
  s.key = 20;
  s.bIsBess = true;
  s.chordInBrackets = true;
  s.transposeChords = false;
  s.transposeTabs = false;
  s.tabMiniValue = 99;
  s.tabMaxValue = 3;
  s.quickExit = false;
  s.autoColor = true;
  s.autoColorOnOpen = false;
}

class SettingsTest : public ::testing::Test {
 protected:
  void Put(const char* path, const char* name, std::uint32_t type, const Bytes& data) {
    ASSERT_TRUE(store->CreateKey(HKEY_CURRENT_USER, path));
    ASSERT_TRUE(store->WriteValue(HKEY_CURRENT_USER, path, name, type, data));
  }
  std::optional<RawValue> Raw(const char* path, const char* name) {
    return RawDatabase(directory.StoreFile()).Value(HKEY_CURRENT_USER, path, name);
  }

  TempDirectory directory;
  std::shared_ptr<SettingsStore> store = std::make_shared<SettingsStore>(directory.StoreFile());
};

TEST_F(SettingsTest, EmptyStoreGivesDefaultsAndOneRunLeavesAll21ValuesInTheirSubkeys) {
  {
    CSettings settings(store);
    ExpectDefaults(settings);
  }
  RawDatabase raw(directory.StoreFile());
  // In the order they were first written, which is the save order.
  EXPECT_EQ(raw.ValueNames(HKEY_CURRENT_USER, kMain),
            (std::vector<std::string>{"useSystemBackground", "font", "backgroundcolor",
                                      "chordcolor", "tabcolor", "textcolor", "fontBold",
                                      "fontItalic", "wordWrap", "fontSize"}));
  EXPECT_EQ(raw.ValueNames(HKEY_CURRENT_USER, kMisc),
            (std::vector<std::string>{"autoColorOnOpen", "quickExit", "autoColor"}));
  EXPECT_EQ(raw.ValueNames(HKEY_CURRENT_USER, kTransposing),
            (std::vector<std::string>{"bIsBess", "chordInBrackets", "tabMaxValue", "tabMiniValue",
                                      "transposeChords", "transposeTabs", "key", "steps"}));
  EXPECT_TRUE(raw.ValueNames(HKEY_CURRENT_USER, kSettingsKey).empty());
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 21);
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, kMain, "backgroundcolor"),
            (RawValue{REG_BINARY, {0xFF, 0xFF, 0xFF, 0x00}}));
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, kMain, "font"),
            (RawValue{REG_SZ, BytesOf("Fixedsys\0"s)}));
}

struct StoredLayout {
  const char* path;
  const char* name;
  RawValue value;
};

TEST_F(SettingsTest, EverySavedValueHasItsByteLayout) {
  {
    CSettings settings(store);
    SetNonDefaults(settings);
  }
  const StoredLayout expected[] = {
      {kMain, "useSystemBackground", {REG_BINARY, {0, 0, 0, 0}}},
      {kMain, "font", {REG_SZ, BytesOf("DejaVu Sans Mono\0"s)}},
      {kMain, "backgroundcolor", {REG_BINARY, {0x30, 0x20, 0x10, 0x00}}},
      {kMain, "chordcolor", {REG_BINARY, {0xC0, 0xB0, 0xA0, 0x00}}},
      {kMain, "tabcolor", {REG_BINARY, {0x0C, 0x0B, 0x0A, 0x00}}},
      {kMain, "textcolor", {REG_BINARY, {0x03, 0x02, 0x01, 0x00}}},
      {kMain, "fontBold", {REG_BINARY, {1, 0, 0, 0}}},
      {kMain, "fontItalic", {REG_BINARY, {1, 0, 0, 0}}},
      {kMain, "wordWrap", {REG_BINARY, {0, 0, 0, 0}}},
      {kMain, "fontSize", {REG_BINARY, {0xF2, 0xFF, 0xFF, 0xFF}}},
      {kMisc, "autoColorOnOpen", {REG_BINARY, {0, 0, 0, 0}}},
      {kMisc, "quickExit", {REG_BINARY, {0, 0, 0, 0}}},
      {kMisc, "autoColor", {REG_BINARY, {1, 0, 0, 0}}},
      {kTransposing, "bIsBess", {REG_BINARY, {1, 0, 0, 0}}},
      {kTransposing, "chordInBrackets", {REG_BINARY, {1, 0, 0, 0}}},
      {kTransposing, "tabMaxValue", {REG_BINARY, {3, 0, 0, 0}}},
      {kTransposing, "tabMiniValue", {REG_BINARY, {99, 0, 0, 0}}},
      {kTransposing, "transposeChords", {REG_BINARY, {0, 0, 0, 0}}},
      {kTransposing, "transposeTabs", {REG_BINARY, {0, 0, 0, 0}}},
      {kTransposing, "key", {REG_BINARY, {20, 0, 0, 0}}},
      {kTransposing, "steps", {REG_BINARY, {0xF9, 0xFF, 0xFF, 0xFF}}},
  };
  RawDatabase raw(directory.StoreFile());
  for (const StoredLayout& layout : expected)
    EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, layout.path, layout.name), layout.value) << layout.name;
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 21);
}

TEST_F(SettingsTest, EveryChangedFieldSurvivesARestart) {
  CSettings changed(SettingsStore::WithoutFile(), SettingsPersistence::ReadOnly);
  SetNonDefaults(changed);
  {
    CSettings first(store);
    SetNonDefaults(first);
  }  // saved by its destructor
  const CSettings second(store);
  EXPECT_EQ(Fields(second), Fields(changed));
}

struct NumberCase {
  const char* label;
  const char* path;
  const char* name;
  std::uint32_t type;
  Bytes data;
  std::int64_t (*field)(const CSettings&);
  std::int64_t expected;
  friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.label; }
};

std::int64_t Steps(const CSettings& s) { return s.steps; }
std::int64_t Key(const CSettings& s) { return s.key; }
std::int64_t TabMax(const CSettings& s) { return s.tabMaxValue; }
std::int64_t TabMin(const CSettings& s) { return s.tabMiniValue; }
std::int64_t FontSize(const CSettings& s) { return s.fontSize; }
std::int64_t Chord(const CSettings& s) { return s.chordcolor; }
std::int64_t Text(const CSettings& s) { return s.textcolor; }
std::int64_t Background(const CSettings& s) { return s.backgroundcolor; }
std::int64_t SystemBackground(const CSettings& s) { return s.useSystemBackground; }
std::int64_t AutoColor(const CSettings& s) { return s.autoColor; }
std::int64_t QuickExit(const CSettings& s) { return s.quickExit; }
std::int64_t WordWrap(const CSettings& s) { return s.wordWrap; }

Bytes Le(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}
const Bytes kEightBytes{0x05, 0, 0, 0, 0, 0, 0, 0};

class SettingsLoadNumberTest : public SettingsTest,
                               public ::testing::WithParamInterface<NumberCase> {};

TEST_P(SettingsLoadNumberTest, StoredValueGivesField) {
  const NumberCase& c = GetParam();
  Put(c.path, c.name, c.type, c.data);
  const CSettings settings(store, SettingsPersistence::ReadOnly);
  EXPECT_EQ(c.field(settings), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, SettingsLoadNumberTest,
    ::testing::Values(
        NumberCase{"steps13Ignored", kTransposing, "steps", REG_BINARY, Le(13), Steps, 1},
        NumberCase{"stepsMinus13Ignored", kTransposing, "steps", REG_BINARY, Le(-13), Steps, 1},
        NumberCase{"steps12", kTransposing, "steps", REG_BINARY, Le(12), Steps, 12},
        NumberCase{"stepsMinus12", kTransposing, "steps", REG_BINARY, Le(-12), Steps, -12},
        NumberCase{"key21Ignored", kTransposing, "key", REG_BINARY, Le(21), Key, 0},
        NumberCase{"keyMinus1Ignored", kTransposing, "key", REG_BINARY, Le(-1), Key, 0},
        NumberCase{"key20", kTransposing, "key", REG_BINARY, Le(20), Key, 20},
        NumberCase{"tabMax100Ignored", kTransposing, "tabMaxValue", REG_BINARY, Le(100), TabMax,
                   15},
        NumberCase{"tabMax99", kTransposing, "tabMaxValue", REG_BINARY, Le(99), TabMax, 99},
        NumberCase{"tabMax0", kTransposing, "tabMaxValue", REG_BINARY, Le(0), TabMax, 0},
        NumberCase{"tabMinNegativeIgnored", kTransposing, "tabMiniValue", REG_BINARY, Le(-5),
                   TabMin, 0},
        NumberCase{"tabMin99", kTransposing, "tabMiniValue", REG_BINARY, Le(99), TabMin, 99},
        NumberCase{"fontSize0", kMain, "fontSize", REG_BINARY, Le(0), FontSize, 0},
        NumberCase{"fontSizeNegative", kMain, "fontSize", REG_BINARY, Le(-3), FontSize, -3},
        NumberCase{"fontSizeMinusOne", kMain, "fontSize", REG_BINARY, Le(-1), FontSize, -1},
        NumberCase{"fontSizeMin", kMain, "fontSize", REG_BINARY, Le(0x80000000), FontSize,
                   INT32_MIN},
        NumberCase{"colorHighByteIgnored", kMain, "chordcolor", REG_BINARY, Le(0x01000000), Chord,
                   0x00FF0000},
        NumberCase{"colorNegativeIgnored", kMain, "chordcolor", REG_BINARY, Le(0xFFFFFFFF), Chord,
                   0x00FF0000},
        NumberCase{"colorWhite", kMain, "chordcolor", REG_BINARY, Le(0x00FFFFFF), Chord,
                   0x00FFFFFF},
        NumberCase{"colorBlack", kMain, "textcolor", REG_BINARY, Le(0), Text, 0},
        NumberCase{"backgroundHighByteIgnored", kMain, "backgroundcolor", REG_BINARY,
                   Le(0x80FFFFFF), Background, 0x00FFFFFF}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Types, SettingsLoadNumberTest,
    ::testing::Values(
        NumberCase{"colorAsDword", kMain, "chordcolor", REG_DWORD, Le(0x00332211), Chord,
                   0x00332211},
        NumberCase{"colorEightBytesIsBlack", kMain, "chordcolor", REG_BINARY, kEightBytes, Chord,
                   0},
        NumberCase{"stepsEightBytesIsZero", kTransposing, "steps", REG_BINARY, kEightBytes, Steps,
                   0},
        NumberCase{"tabMaxEightBytesIsZero", kTransposing, "tabMaxValue", REG_BINARY, kEightBytes,
                   TabMax, 0},
        NumberCase{"fontSizeOneByte", kMain, "fontSize", REG_BINARY, {0x0C}, FontSize, 12},
        NumberCase{"stepsAsText", kTransposing, "steps", REG_SZ, {'\x05', 0}, Steps, 5},
        NumberCase{"flagTwoIsTrue", kMisc, "autoColor", REG_BINARY, Le(2), AutoColor, 1},
        NumberCase{"flagHighBitIsTrue", kMisc, "autoColor", REG_BINARY, Le(0x80000000), AutoColor,
                   1},
        NumberCase{"flagZeroIsFalse", kMisc, "quickExit", REG_BINARY, Le(0), QuickExit, 0},
        NumberCase{"flagDwordZero", kMain, "wordWrap", REG_DWORD, Le(0), WordWrap, 0},
        NumberCase{"flagOneByte", kMisc, "autoColor", REG_BINARY, {0x01}, AutoColor, 1},
        NumberCase{"flagEightBytesIsFalse", kMain, "useSystemBackground", REG_BINARY, kEightBytes,
                   SystemBackground, 0}),
    [](const auto& info) { return std::string(info.param.label); });

struct FontCase {
  const char* label;
  std::uint32_t type;
  Bytes data;
  std::string expected;
  friend void PrintTo(const FontCase& c, std::ostream* os) { *os << c.label; }
};

class SettingsLoadFontTest : public SettingsTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(SettingsLoadFontTest, OnlyStringTypesGiveAName) {
  const FontCase& c = GetParam();
  Put(kMain, "font", c.type, c.data);
  const CSettings settings(store, SettingsPersistence::ReadOnly);
  EXPECT_EQ(settings.font, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, SettingsLoadFontTest,
    ::testing::Values(FontCase{"sz", REG_SZ, BytesOf("Courier New\0"s), "Courier New"},
                      FontCase{"expandSzNotExpanded", REG_EXPAND_SZ, BytesOf("%FONT%\0"s),
                               "%FONT%"},
                      FontCase{"emptySz", REG_SZ, {0}, ""},
                      FontCase{"dwordGivesEmpty", REG_DWORD, {9, 0, 0, 0}, ""},
                      FontCase{"binaryGivesEmpty", REG_BINARY, BytesOf("Arial\0"s), ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SettingsTest, FlagStoredAsTwoIsWrittenBackAsOne) {
  Put(kMisc, "autoColor", REG_BINARY, Le(2));
  Put(kTransposing, "bIsBess", REG_DWORD, Le(0x100));
  { CSettings settings(store); }
  EXPECT_EQ(Raw(kMisc, "autoColor"), (RawValue{REG_BINARY, {1, 0, 0, 0}}));
  EXPECT_EQ(Raw(kTransposing, "bIsBess"), (RawValue{REG_BINARY, {1, 0, 0, 0}}));
}

TEST_F(SettingsTest, ValuesOutsideTheirSubkeyAreNotRead) {
  Put(kSettingsKey, "steps", REG_BINARY, Le(5));
  Put(kMain, "steps", REG_BINARY, Le(6));
  Put(kTransposing, "fontSize", REG_BINARY, Le(30));
  const CSettings settings(store, SettingsPersistence::ReadOnly);
  EXPECT_EQ(settings.steps, 1);
  EXPECT_EQ(settings.fontSize, 9);
}

TEST_F(SettingsTest, LoadStartsFromTheDefaults) {
  CSettings settings(store);
  SetNonDefaults(settings);
  settings.Load();
  ExpectDefaults(settings);
  settings.steps = 4;
  settings.SetDefaults();
  ExpectDefaults(settings);
}

struct ColorCase {
  const char* label;
  ColorRef background, text, chord, tab;
  bool reset;
  friend void PrintTo(const ColorCase& c, std::ostream* os) { *os << c.label; }
};

class SettingsValidateColorsTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(SettingsValidateColorsTest, ResetsAllFourOnlyWhenTwoMarksAreEqual) {
  const ColorCase& c = GetParam();
  CSettings settings(SettingsStore::WithoutFile(), SettingsPersistence::ReadOnly);
  settings.backgroundcolor = c.background;
  settings.textcolor = c.text;
  settings.chordcolor = c.chord;
  settings.tabcolor = c.tab;
  settings.ValidateColors();
  if (c.reset) {
    EXPECT_EQ(std::tie(settings.backgroundcolor, settings.textcolor, settings.chordcolor,
                       settings.tabcolor),
              std::make_tuple(0x00FFFFFFu, 0x0u, 0x00FF0000u, 0x000000FFu));
  } else {
    EXPECT_EQ(std::tie(settings.backgroundcolor, settings.textcolor, settings.chordcolor,
                       settings.tabcolor),
              std::tie(c.background, c.text, c.chord, c.tab));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, SettingsValidateColorsTest,
    ::testing::Values(
        ColorCase{"allDifferent", 0x111111, 0x222222, 0x333333, 0x444444, false},
        ColorCase{"tabEqualsChord", 0x111111, 0x222222, 0x333333, 0x333333, true},
        ColorCase{"textEqualsChord", 0x111111, 0x222222, 0x222222, 0x444444, true},
        ColorCase{"textEqualsTab", 0x111111, 0x222222, 0x333333, 0x222222, true},
        ColorCase{"backgroundEqualsText", 0x222222, 0x222222, 0x333333, 0x444444, false},
        ColorCase{"backgroundEqualsChord", 0x333333, 0x222222, 0x333333, 0x444444, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SettingsTest, LoadDoesNotValidateColours) {
  Put(kMain, "chordcolor", REG_BINARY, Le(0x123456));
  Put(kMain, "tabcolor", REG_BINARY, Le(0x123456));
  const CSettings settings(store, SettingsPersistence::ReadOnly);
  EXPECT_EQ(settings.chordcolor, 0x123456u);
  EXPECT_EQ(settings.tabcolor, 0x123456u);
}

TEST_F(SettingsTest, CopiesCarryEveryFieldAndTheKeyAndSaveToTheSameStore) {
  CSettings original(store);
  SetNonDefaults(original);
  {
    CSettings copy(original);
    EXPECT_EQ(Fields(copy), Fields(original));
    EXPECT_EQ(copy.SettingsKey().Root(), original.SettingsKey().Root());
    EXPECT_EQ(copy.SettingsKey().KeyPath(), original.SettingsKey().KeyPath());
    EXPECT_EQ(copy.SettingsKey().KeyPath(), kTransposing)
        << "the last value loaded was in Transposing";
    copy.steps = 11;
  }
  EXPECT_EQ(Raw(kTransposing, "steps"), (RawValue{REG_BINARY, Le(11)}))
      << "a copy saves like any record";

  // The key comes along, so even a record made on no store saves where
  // its source does once it is allowed to save.
  CSettings assigned(SettingsStore::WithoutFile());
  assigned = original;
  EXPECT_EQ(Fields(assigned), Fields(original));
  assigned.steps = 12;
  assigned.Save();
  EXPECT_EQ(Raw(kTransposing, "steps"), (RawValue{REG_BINARY, Le(12)}));
}

TEST_F(SettingsTest, WorkingCopyNeverSavesAndAssigningItBackKeepsTheTargetSaving) {
  {
    CSettings applied(store);
    {
      CSettings cancelled = applied.WorkingCopy();
      cancelled.steps = 5;
    }
    EXPECT_FALSE(Raw(kTransposing, "steps").has_value()) << "a cancelled edit is not saved";

    CSettings working = applied.WorkingCopy();
    working.steps = -4;
    applied = working;
    EXPECT_EQ(applied.Persistence(), SettingsPersistence::LoadAndSave);
    EXPECT_EQ(applied.steps, -4);
  }
  EXPECT_EQ(Raw(kTransposing, "steps"), (RawValue{REG_BINARY, Le(-4)}));
}

TEST_F(SettingsTest, ReadOnlyRecordNeitherCreatesKeysNorSaves) {
  {
    CSettings reader(store, SettingsPersistence::ReadOnly);
    ExpectDefaults(reader);
    reader.steps = 7;
    reader.Save();
  }
  RawDatabase raw(directory.StoreFile());
  EXPECT_EQ(raw.Count("SELECT count(*) FROM keys WHERE path <> ''"), 0);
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 0);
}

TEST_F(SettingsTest, ReadOnlyRecordReadsWhatExistsSkipsMissingSubkeysAndKeepsItsChanges) {
  Put(kMain, "fontSize", REG_BINARY, Le(14));
  Put(kMisc, "quickExit", REG_BINARY, Le(0));
  {
    CSettings reader(store, SettingsPersistence::ReadOnly);
    EXPECT_EQ(reader.fontSize, 14);
    EXPECT_FALSE(reader.quickExit);
    EXPECT_EQ(reader.steps, 1);
    reader.fontSize = 20;
    reader.Save();
  }
  EXPECT_FALSE(CRegistryKey(store).OpenPath(kTransposing, false));
  EXPECT_EQ(Raw(kMain, "fontSize"), (RawValue{REG_BINARY, Le(14)}));
  EXPECT_FALSE(Raw(kMain, "font").has_value());
}

TEST_F(SettingsTest, TransposeDefaultsAndDocumentCopyTakeTheRightFields) {
  CSettings settings(store);
  SetNonDefaults(settings);
  settings.fontSize = 30;  // not part of either copy
  settings.wordWrap = true;

  const TransposeOptions transpose = settings.TransposeDefaults();
  TransposeOptions expected;
  expected.steps = -7;
  expected.key = 20;
  expected.bIsBess = true;
  expected.transposeChords = false;
  expected.transposeTabs = false;
  expected.tabMiniValue = 99;
  expected.tabMaxValue = 3;
  EXPECT_EQ(transpose, expected);

  const DocumentOptions options = DocumentOptions::FromSettings(settings);
  EXPECT_EQ(options.textcolor, 0x00010203u);
  EXPECT_EQ(options.chordcolor, 0x00A0B0C0u);
  EXPECT_EQ(options.tabcolor, 0x000A0B0Cu);
  EXPECT_EQ(options.backgroundcolor, 0x00102030u);
  EXPECT_EQ(options.font, "DejaVu Sans Mono");
  EXPECT_EQ(options.transpose, expected);
  EXPECT_TRUE(options.chordInBrackets);
  EXPECT_FALSE(options.useSystemBackground);
  EXPECT_TRUE(options.fontBold);
  EXPECT_TRUE(options.fontItalic);

  settings.chordcolor = 0x00000001;
  EXPECT_EQ(options.chordcolor, 0x00A0B0C0u) << "a document keeps the copy it took";
}

TEST(DocumentOptionsFromSettings, FromDefaultSettingsEqualsTheDocumentDefaults) {
  const CSettings defaults(SettingsStore::WithoutFile(), SettingsPersistence::ReadOnly);
  EXPECT_EQ(DocumentOptions::FromSettings(defaults), DocumentOptions{});
}

TEST(SettingsOnFailingStore, GivesDefaultsAndSavesNothingWithoutComplaint) {
  auto store = SettingsStore::WithoutFile();
  {
    CSettings settings(store);
    ExpectDefaults(settings);
    SetNonDefaults(settings);
  }
  EXPECT_GT(store->FailureCount(), 0u);
  const CSettings again(store);
  ExpectDefaults(again);
}

// ---- theSettings --------------------------------------------------------

TEST(TheSettings, OutsideAScopeIsDefaultsBoundToNoStore) {
  ExpectDefaults(theSettings());
  EXPECT_EQ(theSettings().Persistence(), SettingsPersistence::ReadOnly);
}

TEST(TheSettings, ScopeLoadsAtItsStartAndSavesAtItsEnd) {
  TempDirectory directory;
  auto store = std::make_shared<SettingsStore>(directory.StoreFile());
  {
    CSettings seed(store);
    seed.steps = 5;
  }
  CSettings* const outside = &theSettings();
  {
    SettingsScope scope(store, SettingsPersistence::LoadAndSave);
    ASSERT_EQ(&theSettings(), &scope.Settings());
    EXPECT_EQ(theSettings().steps, 5);
    theSettings().steps = -3;
    {
      SettingsScope inner(SettingsStore::WithoutFile(), SettingsPersistence::ReadOnly);
      EXPECT_EQ(theSettings().steps, 1);
    }
    EXPECT_EQ(&theSettings(), &scope.Settings());
    EXPECT_EQ(RawDatabase(directory.StoreFile()).Value(HKEY_CURRENT_USER, kTransposing, "steps"),
              (RawValue{REG_BINARY, Le(5)}))
        << "nothing is saved before the scope ends";
  }
  EXPECT_EQ(&theSettings(), outside);
  EXPECT_EQ(RawDatabase(directory.StoreFile()).Value(HKEY_CURRENT_USER, kTransposing, "steps"),
            (RawValue{REG_BINARY, Le(-3)}));
}

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(TheSettings, ReadOnlyScopeOnThePerUserStoreReadsButNeverWrites) {
  TempDirectory home;
  test::EnvironmentOverride configHome("XDG_CONFIG_HOME", home.Path().string());
  const std::filesystem::path file = SettingsStore::DefaultPath();
  ASSERT_EQ(file, home.Path() / "Quillon Works" / "Sonavel" / "registry.sqlite3");

  {
    SettingsScope scope(SettingsPersistence::ReadOnly);
    ExpectDefaults(theSettings());
    theSettings().steps = 3;
  }
  EXPECT_FALSE(std::filesystem::exists(home.Path() / "Quillon Works"))
      << "a reader creates nothing";

  {
    CSettings seed(std::make_shared<SettingsStore>(file));
    seed.steps = -2;
    seed.tabMaxValue = 12;
  }
  const std::string before = FileBytes(file);
  {
    SettingsScope scope(SettingsPersistence::ReadOnly);
    EXPECT_EQ(theSettings().TransposeDefaults().steps, -2);
    EXPECT_EQ(theSettings().TransposeDefaults().tabMaxValue, 12);
    theSettings().steps = 9;
  }
  EXPECT_EQ(FileBytes(file), before);
}

}  // namespace
}  // namespace sonavel
