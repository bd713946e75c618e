#include "SettingsTestSupport.h"
#include "document/RegistryKey.h"
#include "document/RegistryPath.h"

namespace sonavel::test {
namespace {

using namespace std::string_literals;

class RegistryKeyTest : public StoreTest {
 protected:
  CRegistryKey key{store};
};

TEST_F(RegistryKeyTest, RootsArePredefinedSeparateTrees) {
  for (const RegistryRoot other : {0u, 0x80000004u}) EXPECT_FALSE(key.SelectRoot(other)) << other;
  ASSERT_TRUE(key.SelectRoot(HKEY_CLASSES_ROOT));
  ASSERT_TRUE(key.CreatePath("SonavelTab\\shell"));
  EXPECT_FALSE(CRegistryKey(store).OpenPath("SonavelTab", false)) << "the same path under another root";
  ASSERT_TRUE(key.PutText("", "default value\0not stored"s));
  EXPECT_EQ(key.GetText("", "fallback"), "default value");
}

TEST_F(RegistryKeyTest, CreatingMakesTheKeysAboveAndAFailedOpenKeepsTheKeyBefore) {
  ASSERT_TRUE(key.CreatePath("S\\Quillon Works\\Sonavel"));
  for (const char* above : {"S", "S\\Quillon Works"}) EXPECT_TRUE(CRegistryKey(store).OpenPath(above, false)) << above;
  EXPECT_FALSE(key.OpenPath("S\\Missing", false));
  EXPECT_FALSE(key.OpenPath("S\\Missing", false)) << "opening must not create";
  for (const char* bad : {"\\S", "S\\", "S\\\\Quillon Works"})
    EXPECT_FALSE(key.CreatePath(bad) || key.OpenPath(bad, false)) << bad;
  ASSERT_TRUE(key.PutText("where", "here"));
  EXPECT_EQ(Raw("S\\Quillon Works\\Sonavel", "where"), (RawValue{REG_SZ, {'h', 'e', 'r', 'e', 0}}));

  EXPECT_TRUE(key.OpenPath("", false)) << "the empty path is the root, which always exists";
  ASSERT_TRUE(key.PutNumber("atRoot", 42));
  EXPECT_EQ(Raw("", "atRoot"), Number(42));
}

TEST_F(RegistryKeyTest, PathsAndNamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(key.CreatePath("Software\\Ärende"));
  ASSERT_TRUE(key.PutText("TabMaxValue", "seven"));
  CRegistryKey other(store);
  ASSERT_TRUE(other.CreatePath("SOFTWARE\\äRENDE"));
  EXPECT_EQ(other.GetText("tabmaxvalue", "fallback"), "seven");
  ASSERT_TRUE(other.PutNumber("TABMAXVALUE", 8));
  EXPECT_EQ(Query(file, "SELECT count(*) FROM key_values")[0][0], "1");
  EXPECT_EQ(Raw("Software\\Ärende", "TabMaxValue"), Number(8));
  // Letters with a simple case pair fold, at the edges of their ranges;
  // nothing else changes, not even a byte of broken UTF-8.
  EXPECT_EQ(FoldCase("AZ@[az09\\"), "az@[az09\\");
  EXPECT_EQ(FoldCase("ÀÞ×ĹŸΑΣЀА"), "àþ×ĺÿασѐа");
  EXPECT_EQ(FoldCase("\xC1\x81\xC3(\xC3"), "\xC1\x81\xC3(\xC3");
}

TEST_F(RegistryKeyTest, ReadsEachTypeAsItsLayoutAllows) {
  constexpr std::int32_t kFallback = -77;
  const struct {
    const char* name;
    std::optional<RawValue> stored;
    std::int32_t number;
    std::string text;
  } rows[] = {
      {"missing", std::nullopt, kFallback, "fallback"},
      {"fiveBytes", RawValue{REG_BINARY, {1, 0, 0, 0, 0}}, kFallback, "fallback"},
      {"szStopsAtNul", RawValue{REG_SZ, {'a', 'b', 0, 'c'}}, 0x63006261, "ab"},
      {"expandSzNotExpanded", RawValue{REG_EXPAND_SZ, {'%', 'H', '%'}}, '%' | 'H' << 8 | '%' << 16, "%H%"},
      {"multiSz", RawValue{7, {'a', 0, 0}}, 'a', "fallback"},
  };
  ASSERT_TRUE(key.CreatePath("K"));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.stored) Put("K", row.name, *row.stored);
    EXPECT_EQ(key.QueryType(row.name), row.stored ? row.stored->first : REG_NONE);
    EXPECT_EQ(key.GetNumber(row.name, kFallback), row.number);
    EXPECT_EQ(key.GetText(row.name, "fallback"), row.text);
  }
  EXPECT_EQ(store->FailureCount(), 0u) << "a missing value is not a failure of the store";
}

}  // namespace
}  // namespace sonavel::test
