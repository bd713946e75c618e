#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "SettingsTestSupport.h"
#include "document/RegistryKey.h"
#include "document/SettingsStore.h"

namespace sonavel {
namespace {

using test::Bytes;
using test::BytesOf;
using test::RawDatabase;
using test::RawValue;
using test::TempDirectory;

class RegistryKeyTest : public ::testing::Test {
 protected:
  // Puts a value of any type and layout, which the wrapper alone cannot.
  void Store(std::string_view path, std::string_view name, std::uint32_t type, const Bytes& data) {
    ASSERT_TRUE(store->CreateKey(HKEY_CURRENT_USER, path));
    ASSERT_TRUE(store->WriteValue(HKEY_CURRENT_USER, path, name, type, data));
  }

  TempDirectory directory;
  std::shared_ptr<SettingsStore> store = std::make_shared<SettingsStore>(directory.StoreFile());
  CRegistryKey key{store};
};

TEST_F(RegistryKeyTest, SelectRootAcceptsOnlyThePredefinedRoots) {
  for (const RegistryRoot root :
       {HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_USER}) {
    EXPECT_TRUE(key.SelectRoot(root));
    EXPECT_EQ(key.Root(), root);
  }
  ASSERT_TRUE(key.SelectRoot(HKEY_USERS));
  for (const RegistryRoot other : {0u, 0x7FFFFFFFu, 0x80000004u, 0x80000005u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(key.SelectRoot(other)) << other;
    EXPECT_EQ(key.Root(), HKEY_USERS);
  }
}

TEST_F(RegistryKeyTest, EmptyPathIsTheRootItselfWhateverCreateSays) {
  ASSERT_TRUE(key.CreatePath("Software"));
  ASSERT_TRUE(key.PutNumber("n", 1));
  for (const bool create : {false, true}) {
    ASSERT_TRUE(key.CreatePath("Software"));
    EXPECT_TRUE(key.OpenPath("", create));
    EXPECT_EQ(key.KeyPath(), "");
    ASSERT_TRUE(key.PutNumber("atRoot", 42));
    EXPECT_EQ(key.GetNumber("atRoot", -1), 42);
    EXPECT_FALSE(key.HasValue("n")) << "a value of a subkey must not show at the root";
  }
  RawDatabase raw(directory.StoreFile());
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "", "atRoot"), (RawValue{REG_BINARY, {42, 0, 0, 0}}));
}

TEST_F(RegistryKeyTest, FailedOpenKeepsThePreviousKeyCurrent) {
  ASSERT_TRUE(key.CreatePath("Software\\A"));
  EXPECT_FALSE(key.OpenPath("Software\\Missing", false));
  EXPECT_EQ(key.KeyPath(), "Software\\A");
  ASSERT_TRUE(key.PutText("where", "A"));
  EXPECT_FALSE(key.OpenPath("Software\\Missing", false)) << "opening must not create";

  // The same holds for a path the store refuses.
  for (const char* bad : {"\\Software", "Software\\", "Software\\\\A"}) {
    EXPECT_FALSE(key.CreatePath(bad)) << bad;
    EXPECT_FALSE(key.OpenPath(bad, true)) << bad;
    EXPECT_EQ(key.KeyPath(), "Software\\A");
  }
  RawDatabase raw(directory.StoreFile());
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "Software\\A", "where"), (RawValue{REG_SZ, {'A', 0}}));
  EXPECT_EQ(raw.Count("SELECT count(*) FROM keys WHERE path LIKE '%Missing%' OR path LIKE '%\\\\'"),
            0);
}

TEST_F(RegistryKeyTest, CreatingAPathCreatesEveryKeyAboveIt) {
  ASSERT_TRUE(key.CreatePath("Software\\Quillon Works\\Sonavel\\Settings"));
  for (const char* above :
       {"Software", "Software\\Quillon Works", "Software\\Quillon Works\\Sonavel"}) {
    CRegistryKey other(store);
    EXPECT_TRUE(other.OpenPath(above, false)) << above;
  }
}

TEST_F(RegistryKeyTest, PathsAndNamesIgnoreCaseButKeepTheirFirstSpelling) {
  ASSERT_TRUE(key.CreatePath("Software\\Quillon Works\\Ärende"));
  ASSERT_TRUE(key.PutNumber("TabMaxValue", 7));

  CRegistryKey other(store);
  ASSERT_TRUE(other.OpenPath("SOFTWARE\\quillon works\\äRENDE", false));
  EXPECT_EQ(other.GetNumber("tabmaxvalue", -1), 7);
  ASSERT_TRUE(other.PutNumber("TABMAXVALUE", 8));
  EXPECT_FALSE(other.OpenPath("Software\\Quillon Works\\Arende", false)) << "Ä is not A";

  ASSERT_TRUE(key.CreatePath("Software\\ПРОБА"));
  EXPECT_TRUE(other.OpenPath("software\\проба", false));

  RawDatabase raw(directory.StoreFile());
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "Software\\Quillon Works\\Ärende", "TabMaxValue"),
            (RawValue{REG_BINARY, {8, 0, 0, 0}}));
  EXPECT_EQ(raw.Count("SELECT count(*) FROM keys WHERE path_folded = 'software'"), 1);
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 1);
}

TEST_F(RegistryKeyTest, RootsAreSeparateTrees) {
  ASSERT_TRUE(key.SelectRoot(HKEY_CLASSES_ROOT));
  ASSERT_TRUE(key.CreatePath(".crd"));
  ASSERT_TRUE(key.PutText("", "SonavelCrd"));
  CRegistryKey user(store);
  EXPECT_FALSE(user.OpenPath(".crd", false));
  ASSERT_TRUE(key.SelectRoot(HKEY_CURRENT_USER));
  EXPECT_FALSE(key.HasValue("")) << "a key path is only valid under the root it was made under";
}

struct NumberCase {
  const char* label;
  std::uint32_t type;
  Bytes data;
  std::int32_t expected;
  friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.label; }
};

class RegistryKeyGetNumberTest : public RegistryKeyTest,
                                 public ::testing::WithParamInterface<NumberCase> {};

TEST_P(RegistryKeyGetNumberTest, ReadsAtMostFourLittleEndianBytesWhateverTheType) {
  const NumberCase& c = GetParam();
  Store("K", "v", c.type, c.data);
  ASSERT_TRUE(key.OpenPath("K", false));
  EXPECT_EQ(key.GetNumber("v", -77), c.expected);
  EXPECT_EQ(key.GetFlag("v", -77), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RegistryKeyGetNumberTest,
    ::testing::Values(NumberCase{"binary", REG_BINARY, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
                      NumberCase{"dword", REG_DWORD, {0x0F, 0x00, 0x00, 0x00}, 15},
                      NumberCase{"negative", REG_BINARY, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
                      NumberCase{"highBit", REG_BINARY, {0x00, 0x00, 0x00, 0x80}, INT32_MIN},
                      NumberCase{"textType", REG_SZ, {'a', 'b', 0}, 0x006261},
                      NumberCase{"oneByte", REG_BINARY, {0x01}, 1},
                      NumberCase{"twoBytes", REG_BINARY, {0xFF, 0x80}, 0x80FF},
                      NumberCase{"empty", REG_BINARY, {}, 0},
                      NumberCase{"fiveBytes", REG_BINARY, {1, 0, 0, 0, 0}, -77},
                      NumberCase{"eightBytes", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0}, -77},
                      NumberCase{"qword", 11, {2, 0, 0, 0, 0, 0, 0, 0}, -77}),
    [](const auto& info) { return std::string(info.param.label); });

struct TextCase {
  const char* label;
  std::uint32_t type;
  Bytes data;
  std::string expected;
  friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.label; }
};

class RegistryKeyGetTextTest : public RegistryKeyTest,
                               public ::testing::WithParamInterface<TextCase> {};

TEST_P(RegistryKeyGetTextTest, ReadsOnlyStringTypesUpToTheFirstNul) {
  const TextCase& c = GetParam();
  Store("K", "v", c.type, c.data);
  ASSERT_TRUE(key.OpenPath("K", false));
  EXPECT_EQ(key.GetText("v", "fallback"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RegistryKeyGetTextTest,
    ::testing::Values(TextCase{"sz", REG_SZ, {'A', 'r', 'i', 'a', 'l', 0}, "Arial"},
                      TextCase{"expandNotExpanded", REG_EXPAND_SZ, BytesOf("%HOME%\\x\0"),
                               "%HOME%\\x"},
                      TextCase{"noTerminator", REG_SZ, BytesOf("abc"), "abc"},
                      TextCase{"stopsAtFirstNul", REG_SZ, Bytes{'a', 'b', 0, 'c', 'd', 0}, "ab"},
                      TextCase{"emptyData", REG_SZ, {}, ""},
                      TextCase{"utf8", REG_SZ, BytesOf("Dejavu Sans Öö"), "Dejavu Sans Öö"},
                      TextCase{"dword", REG_DWORD, {0x41, 0, 0, 0}, "fallback"},
                      TextCase{"binary", REG_BINARY, {'a', 0}, "fallback"},
                      TextCase{"none", REG_NONE, {'a', 0}, "fallback"},
                      TextCase{"multiSz", 7, {'a', 0, 0}, "fallback"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegistryKeyTest, MissingValuesGiveTheFallbacks) {
  ASSERT_TRUE(key.CreatePath("K"));
  ASSERT_TRUE(key.PutNumber("other", 1));
  EXPECT_EQ(key.QueryType("absent"), REG_NONE);
  EXPECT_FALSE(key.HasValue("absent"));
  EXPECT_EQ(key.GetNumber("absent", 5), 5);
  EXPECT_EQ(key.GetText("absent", "fb"), "fb");
  EXPECT_EQ(store->FailureCount(), 0u) << "a missing value is not a store failure";
}

TEST_F(RegistryKeyTest, QueryTypeGivesTheStoredTypeCode) {
  Store("K", "dword", REG_DWORD, {1, 0, 0, 0});
  Store("K", "odd", 0x1234, {});
  ASSERT_TRUE(key.OpenPath("K", false));
  ASSERT_TRUE(key.PutText("text", "t"));
  ASSERT_TRUE(key.PutNumber("number", 3));
  EXPECT_EQ(key.QueryType("dword"), REG_DWORD);
  EXPECT_EQ(key.QueryType("odd"), 0x1234u);
  EXPECT_EQ(key.QueryType("text"), REG_SZ);
  EXPECT_EQ(key.QueryType("number"), REG_BINARY);
  EXPECT_EQ(key.QueryType("TEXT"), REG_SZ);
}

TEST_F(RegistryKeyTest, WritesHaveTheRegistryLayouts) {
  ASSERT_TRUE(key.CreatePath("K"));
  ASSERT_TRUE(key.PutText("", "x"));
  ASSERT_TRUE(key.PutText("empty", ""));
  ASSERT_TRUE(key.PutNumber("minusOne", -1));
  ASSERT_TRUE(key.PutNumber("white", 0x00FFFFFF));
  ASSERT_TRUE(key.PutFlag("on", 1));
  ASSERT_TRUE(key.PutText("cut", std::string("ab\0cd", 5)));

  RawDatabase raw(directory.StoreFile());
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", ""), (RawValue{REG_SZ, {'x', 0}}));
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", "empty"), (RawValue{REG_SZ, {0}}));
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", "minusOne"),
            (RawValue{REG_BINARY, {0xFF, 0xFF, 0xFF, 0xFF}}));
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", "white"),
            (RawValue{REG_BINARY, {0xFF, 0xFF, 0xFF, 0x00}}));
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", "on"), (RawValue{REG_BINARY, {1, 0, 0, 0}}));
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", "cut"), (RawValue{REG_SZ, {'a', 'b', 0}}));
  EXPECT_EQ(key.GetText("", "fb"), "x");
}

TEST_F(RegistryKeyTest, OverwritingReplacesTypeAndData) {
  ASSERT_TRUE(key.CreatePath("K"));
  ASSERT_TRUE(key.PutText("font", "A much longer face name"));
  ASSERT_TRUE(key.PutNumber("FONT", 12));
  RawDatabase raw(directory.StoreFile());
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, "K", "font"), (RawValue{REG_BINARY, {12, 0, 0, 0}}));
  EXPECT_EQ(key.GetText("font", "fb"), "fb");
}

TEST_F(RegistryKeyTest, ResetAndCopies) {
  ASSERT_TRUE(key.SelectRoot(HKEY_CLASSES_ROOT));
  ASSERT_TRUE(key.CreatePath("SonavelTab\\shell"));
  CRegistryKey copy = key;
  EXPECT_EQ(copy.Root(), HKEY_CLASSES_ROOT);
  EXPECT_EQ(copy.KeyPath(), "SonavelTab\\shell");
  ASSERT_TRUE(copy.PutText("", "via copy"));
  EXPECT_EQ(key.GetText("", "fb"), "via copy") << "a copy names the same key of the same store";

  EXPECT_TRUE(key.Reset());
  EXPECT_EQ(key.Root(), HKEY_CURRENT_USER);
  EXPECT_EQ(key.KeyPath(), "");
  EXPECT_EQ(copy.KeyPath(), "SonavelTab\\shell");
}

TEST_F(RegistryKeyTest, TooLargeDataIsRefusedAndTheOldValueKept) {
  ASSERT_TRUE(key.CreatePath("K"));
  ASSERT_TRUE(key.PutText("font", "Courier"));
  const std::string huge(SettingsStore::kMaxValueBytes, 'x');  // plus its NUL: one byte too many
  EXPECT_FALSE(key.PutText("font", huge));
  EXPECT_EQ(key.GetText("font", "fb"), "Courier");
  EXPECT_EQ(store->FailureCount(), 0u) << "a refused value is not a store failure";
}

TEST(RegistryKeyOnFailingStore, EveryCallFailsQuietly) {
  CRegistryKey key(SettingsStore::WithoutFile());
  EXPECT_FALSE(key.CreatePath("Software"));
  EXPECT_FALSE(key.OpenPath("Software", false));
  EXPECT_TRUE(key.OpenPath("", false));
  EXPECT_EQ(key.QueryType("v"), REG_NONE);
  EXPECT_FALSE(key.HasValue("v"));
  EXPECT_EQ(key.GetNumber("v", 9), 9);
  EXPECT_EQ(key.GetText("v", "fb"), "fb");
  EXPECT_FALSE(key.PutText("v", "t"));
  EXPECT_FALSE(key.PutNumber("v", 1));
}

}  // namespace
}  // namespace sonavel
