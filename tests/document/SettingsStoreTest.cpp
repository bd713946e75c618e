#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "document/RegistryKey.h"
#include "document/Settings.h"
#include "document/SettingsStore.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::EnvironmentOverride;
using test::RawDatabase;
using test::RawValue;
using test::TempDirectory;

constexpr const char* kMain = "Software\\Quillon Works\\Sonavel\\Settings\\main";
constexpr const char* kTransposing = "Software\\Quillon Works\\Sonavel\\Settings\\Transposing";

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Compares file contents without printing kilobytes of them.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                       << ", first difference at " << at;
}

std::vector<fs::path> SetAsideFiles(const fs::path& directory) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(directory))
    if (entry.path().filename().string().starts_with("registry.sqlite3.corrupt-"))
      found.push_back(entry.path());
  return found;
}

// Runs body(child) in `count` processes released at the same moment, and
// gives their exit codes. Children never touch a connection of the parent.
std::vector<int> RunInProcesses(int count, const std::function<int(int)>& body) {
  int gate[2];
  if (::pipe(gate) != 0) return {};
  std::vector<pid_t> children;
  for (int child = 0; child < count; ++child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(gate[1]);
      char ignored;
      while (::read(gate[0], &ignored, 1) < 0 && errno == EINTR) {
      }
      int code = 100;
      try {
        code = body(child);
      } catch (...) {
      }
      ::_exit(code);
    }
    children.push_back(pid);
  }
  ::close(gate[0]);
  ::close(gate[1]);  // end of file in every child at once
  std::vector<int> codes;
  for (const pid_t pid : children) {
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
      codes.push_back(-1);
    else
      codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  }
  return codes;
}

bool RunningAsRoot() { return ::geteuid() == 0; }

// ---- Location -----------------------------------------------------------

struct LocationCase {
  const char* label;
  std::optional<std::string> xdg;
  std::optional<std::string> home;
  std::string expected;
  friend void PrintTo(const LocationCase& c, std::ostream* os) { *os << c.label; }
};

class SettingsStoreDefaultPathTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsStoreDefaultPathTest, FollowsTheXdgRules) {
  const LocationCase& c = GetParam();
  EnvironmentOverride xdg("XDG_CONFIG_HOME", c.xdg);
  EnvironmentOverride home("HOME", c.home);
  EXPECT_EQ(SettingsStore::DefaultPath(), fs::path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Environment, SettingsStoreDefaultPathTest,
    ::testing::Values(LocationCase{"xdgSet", "/x/conf", "/home/u",
                                   "/x/conf/Quillon Works/Sonavel/registry.sqlite3"},
                      LocationCase{"xdgUnset", std::nullopt, "/home/u",
                                   "/home/u/.config/Quillon Works/Sonavel/registry.sqlite3"},
                      LocationCase{"xdgEmpty", "", "/home/u",
                                   "/home/u/.config/Quillon Works/Sonavel/registry.sqlite3"},
                      LocationCase{"xdgRelative", "conf", "/home/u",
                                   "/home/u/.config/Quillon Works/Sonavel/registry.sqlite3"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SettingsStore, CreatesMissingDirectoriesForTheUserOnly) {
  TempDirectory directory;
  const fs::path file =
      directory.Path() / "config" / "Quillon Works" / "Sonavel" / "registry.sqlite3";
  SettingsStore store(file);
  EXPECT_TRUE(store.CreateKey(HKEY_CURRENT_USER, "Software"));
  ASSERT_TRUE(fs::exists(file));
  struct stat info {};
  ASSERT_EQ(::stat(file.parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(SettingsStore, TellsMissingKeysAndValuesFromFailures) {
  TempDirectory directory;
  SettingsStore store(directory.StoreFile());
  ASSERT_TRUE(store.CreateKey(HKEY_CURRENT_USER, "K"));
  EXPECT_EQ(store.ReadValue(HKEY_CURRENT_USER, "Nope", "v", 4).status, LookupStatus::NoKey);
  EXPECT_EQ(store.ReadValue(HKEY_CURRENT_USER, "K", "v", 4).status, LookupStatus::NoValue);
  EXPECT_EQ(store.ReadValue(HKEY_USERS, "", "v", 4).status, LookupStatus::NoValue)
      << "roots always exist";
  EXPECT_FALSE(store.WriteValue(HKEY_CURRENT_USER, "Nope", "v", REG_SZ, Bytes{0}))
      << "writing needs the key";
  EXPECT_FALSE(store.KeyExists(HKEY_CURRENT_USER, "Nope"));
  EXPECT_EQ(store.FailureCount(), 0u);

  SettingsStore failing(fs::path{});
  EXPECT_EQ(failing.ReadValue(HKEY_CURRENT_USER, "K", "v", 4).status, LookupStatus::StoreFailure);
  EXPECT_EQ(failing.FailureCount(), 1u);
}

TEST(SettingsStore, ReadOnlyAccessCreatesNothingAndWritesNothing) {
  TempDirectory directory;
  const fs::path file = directory.Path() / "sub" / "registry.sqlite3";
  {
    SettingsStore reader(file, StoreAccess::ReadOnly);
    EXPECT_FALSE(reader.CreateKey(HKEY_CURRENT_USER, "K"));
    EXPECT_FALSE(fs::exists(directory.Path() / "sub"));
  }
  {
    SettingsStore writer(file);
    ASSERT_TRUE(writer.CreateKey(HKEY_CURRENT_USER, "K"));
    ASSERT_TRUE(writer.WriteValue(HKEY_CURRENT_USER, "K", "v", REG_BINARY, Bytes{7, 0, 0, 0}));
  }
  SettingsStore reader(file, StoreAccess::ReadOnly);
  EXPECT_TRUE(reader.CreateKey(HKEY_CURRENT_USER, "k")) << "an existing key opens";
  EXPECT_FALSE(reader.CreateKey(HKEY_CURRENT_USER, "K\\New"));
  EXPECT_FALSE(reader.WriteValue(HKEY_CURRENT_USER, "K", "v", REG_BINARY, Bytes{8, 0, 0, 0}));
  const ValueLookup lookup = reader.ReadValue(HKEY_CURRENT_USER, "K", "v", 4);
  EXPECT_EQ(lookup.data, (Bytes{7, 0, 0, 0}));
}

TEST(SettingsStore, RecoversOnceTheProblemGoesAway) {
  TempDirectory directory;
  const fs::path blocker = directory.Path() / "config";
  WriteFile(blocker, "a file where the directory should be");
  SettingsStore store(blocker / "registry.sqlite3");
  EXPECT_FALSE(store.CreateKey(HKEY_CURRENT_USER, "K"));
  fs::remove(blocker);
  EXPECT_TRUE(store.CreateKey(HKEY_CURRENT_USER, "K"));
}

// ---- Damaged files ------------------------------------------------------

// A real store with values, closed, so that everything is in the main file.
std::string HealthyStoreBytes(const fs::path& file) {
  {
    CSettings settings(std::make_shared<SettingsStore>(file));
    settings.steps = 4;
  }
  return ReadFile(file);
}

struct DamageCase {
  const char* label;
  std::string (*damage)(std::string healthy);
  friend void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.label; }
};

class SettingsStoreDamagedFileTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(SettingsStoreDamagedFileTest, IsSetAsideUntouchedAndAFreshStoreStarted) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  const std::string damaged = GetParam().damage(HealthyStoreBytes(file));
  WriteFile(file, damaged);

  auto store = std::make_shared<SettingsStore>(file);
  {
    CSettings settings(store);
    EXPECT_EQ(settings.steps, 1) << "the damaged file's values are not used";
    settings.steps = 6;
  }
  const std::vector<fs::path> aside = SetAsideFiles(directory.Path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_TRUE(SameBytes(ReadFile(aside[0]), damaged)) << "the user can still recover the old file";

  RawDatabase raw(file);
  EXPECT_EQ(raw.IntegrityCheck(), "ok");
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, kTransposing, "steps"),
            (RawValue{REG_BINARY, {6, 0, 0, 0}}));
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 21);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SettingsStoreDamagedFileTest,
    ::testing::Values(
        DamageCase{"text", [](std::string) { return std::string(5000, 'g'); }},
        DamageCase{"binaryNoise",
                   [](std::string healthy) {
                     for (std::size_t i = 0; i < healthy.size(); ++i)
                       healthy[i] = static_cast<char>(i * 131 + 7);
                     return healthy;
                   }},
        DamageCase{"headerOnly", [](std::string healthy) { return healthy.substr(0, 100); }},
        DamageCase{"brokenTablePage",
                   [](std::string healthy) {
                     // Page 2 holds the first table; an invalid page type breaks it.
                     std::fill(healthy.begin() + 4096, healthy.begin() + 4096 + 64, '\xFF');
                     return healthy;
                   }},
        DamageCase{"brokenIndexPage",
                   [](std::string healthy) {
                     const std::size_t last = healthy.size() - 4096;
                     std::fill(healthy.begin() + static_cast<long>(last) + 8,
                               healthy.begin() + static_cast<long>(last) + 200, '\x5A');
                     return healthy;
                   }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SettingsStoreRecovery, KeepsTheJournalWithTheDamagedFile) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  WriteFile(file, std::string(4096, 'd'));
  WriteFile(file.string() + "-wal", std::string(1000, 'w'));
  EXPECT_TRUE(SettingsStore(file).CreateKey(HKEY_CURRENT_USER, "K"));
  const std::vector<fs::path> aside = SetAsideFiles(directory.Path());
  ASSERT_EQ(aside.size(), 2u);
  const fs::path copy = aside[0].string().ends_with("-wal") ? aside[1] : aside[0];
  EXPECT_TRUE(SameBytes(ReadFile(copy), std::string(4096, 'd')));
  EXPECT_TRUE(SameBytes(ReadFile(copy.string() + "-wal"), std::string(1000, 'w')));
  EXPECT_EQ(RawDatabase(file).IntegrityCheck(), "ok");
}

TEST(SettingsStoreRecovery, KeepsEarlierSetAsideFiles) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  WriteFile(file, "first garbage");
  EXPECT_TRUE(SettingsStore(file).CreateKey(HKEY_CURRENT_USER, "K"));
  WriteFile(file, "second garbage");
  EXPECT_TRUE(SettingsStore(file).CreateKey(HKEY_CURRENT_USER, "K"));
  std::set<std::string> contents;
  for (const fs::path& aside : SetAsideFiles(directory.Path())) contents.insert(ReadFile(aside));
  EXPECT_EQ(contents, (std::set<std::string>{"first garbage", "second garbage"}));
}

TEST(SettingsStoreRecovery, ProcessesFindingTheSameCorruptFileSetItAsideOnce) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  WriteFile(file, std::string(8192, 'z'));
  const std::vector<int> codes = RunInProcesses(4, [&](int child) {
    SettingsStore store(file);
    const Bytes data{static_cast<std::uint8_t>(child)};
    const bool written =
        store.CreateKey(HKEY_CURRENT_USER, "K") &&
        store.WriteValue(HKEY_CURRENT_USER, "K", "child" + std::to_string(child), REG_BINARY, data);
    return written && store.FailureCount() == 0 ? 0 : 1;
  });
  EXPECT_EQ(codes, (std::vector<int>{0, 0, 0, 0}));
  const std::vector<fs::path> aside = SetAsideFiles(directory.Path());
  ASSERT_EQ(aside.size(), 1u)
      << "a later process must not take the fresh store for the damaged one";
  EXPECT_TRUE(SameBytes(ReadFile(aside[0]), std::string(8192, 'z')));
  RawDatabase raw(file);
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 4);
}

struct ForeignCase {
  const char* label;
  const char* sql;
  friend void PrintTo(const ForeignCase& c, std::ostream* os) { *os << c.label; }
};

class SettingsStoreForeignDatabaseTest : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(SettingsStoreForeignDatabaseTest, IsLeftAloneAndGivesDefaults) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  test::CreateDatabase(file, GetParam().sql);
  const std::string before = ReadFile(file);
  auto store = std::make_shared<SettingsStore>(file);
  {
    CSettings settings(store);
    EXPECT_EQ(settings.font, "Fixedsys");
    settings.font = "Changed";
  }
  EXPECT_GT(store->FailureCount(), 0u);
  EXPECT_EQ(ReadFile(file), before);
  EXPECT_TRUE(SetAsideFiles(directory.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SettingsStoreForeignDatabaseTest,
    ::testing::Values(
        ForeignCase{"otherProgram",
                    "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine');"},
        ForeignCase{"newerSchema",
                    "PRAGMA application_id = 1399811702; PRAGMA user_version = 2;"
                    "CREATE TABLE keys (x); CREATE TABLE future (y);"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SettingsStoreFailure, StorePathThatIsADirectoryFailsQuietly) {
  TempDirectory directory;
  fs::create_directory(directory.StoreFile());
  auto store = std::make_shared<SettingsStore>(directory.StoreFile());
  {
    CSettings settings(store);
    EXPECT_EQ(settings.steps, 1);
    settings.steps = 3;
  }
  EXPECT_GT(store->FailureCount(), 0u);
  EXPECT_TRUE(fs::is_directory(directory.StoreFile()));
  EXPECT_TRUE(SetAsideFiles(directory.Path()).empty());
}

TEST(SettingsStoreFailure, DirectoryThatCannotBeCreatedGivesDefaults) {
  TempDirectory directory;
  WriteFile(directory.Path() / "Quillon Works", "not a directory");
  auto store = std::make_shared<SettingsStore>(directory.Path() / "Quillon Works" / "Sonavel" /
                                               "registry.sqlite3");
  {
    CSettings settings(store);
    EXPECT_EQ(settings.font, "Fixedsys");
    settings.font = "Lost";
  }
  EXPECT_GT(store->FailureCount(), 0u);
  EXPECT_EQ(ReadFile(directory.Path() / "Quillon Works"), "not a directory");
}

TEST(SettingsStoreFailure, ReadOnlyDirectoryKeepsTheLastGoodValues) {
  if (RunningAsRoot()) GTEST_SKIP() << "permissions do not bind root";
  TempDirectory directory;
  const fs::path storeDirectory = directory.Path() / "Sonavel";
  const fs::path file = storeDirectory / "registry.sqlite3";
  {
    CSettings settings(std::make_shared<SettingsStore>(file));
    settings.steps = 4;
  }
  fs::permissions(file, fs::perms::owner_read);
  fs::permissions(storeDirectory, fs::perms::owner_read | fs::perms::owner_exec);
  auto store = std::make_shared<SettingsStore>(file);
  {
    CSettings settings(store);
    EXPECT_EQ(settings.steps, 4);
    settings.steps = -5;
  }
  EXPECT_GT(store->FailureCount(), 0u);
  fs::permissions(storeDirectory, fs::perms::owner_all);
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(RawDatabase(file).Value(HKEY_CURRENT_USER, kTransposing, "steps"),
            (RawValue{REG_BINARY, {4, 0, 0, 0}}));
}

TEST(SettingsStoreFailure, UnreadableFileGivesDefaultsAndIsNotMoved) {
  if (RunningAsRoot()) GTEST_SKIP() << "permissions do not bind root";
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  HealthyStoreBytes(file);
  fs::permissions(file, fs::perms::none);
  auto store = std::make_shared<SettingsStore>(file);
  { EXPECT_EQ(CSettings(store).steps, 1); }
  EXPECT_GT(store->FailureCount(), 0u);
  EXPECT_TRUE(SetAsideFiles(directory.Path()).empty());
}

// ---- Huge values --------------------------------------------------------

TEST(SettingsStoreHugeValue, IsNeitherLoadedNorAllowedToBreakTheStore) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  HealthyStoreBytes(file);
  {
    RawDatabase raw(file);
    // 4 MiB of 'x' as the font, and as a colour: four times what may be stored.
    raw.Exec(
        "UPDATE key_values SET data = CAST(replace(hex(zeroblob(2097152)), '0', 'x') AS BLOB) "
        "WHERE name IN ('font', 'chordcolor')");
  }
  auto store = std::make_shared<SettingsStore>(file);
  CRegistryKey key(store);
  ASSERT_TRUE(key.OpenPath(kMain, false));
  EXPECT_TRUE(key.HasValue("font"));
  EXPECT_EQ(key.QueryType("font"), REG_SZ);
  EXPECT_EQ(key.GetText("font", "fallback"), "fallback");
  const ValueLookup lookup =
      store->ReadValue(HKEY_CURRENT_USER, kMain, "font", std::size_t{64} << 20);
  EXPECT_EQ(lookup.size, 4u << 20);
  EXPECT_FALSE(lookup.dataRead) << "the store never hands out more than it may hold";
  {
    CSettings settings(store);
    EXPECT_EQ(settings.font, "") << "unreadable text gives an empty name";
    EXPECT_EQ(settings.chordcolor, 0u) << "data longer than 4 bytes reads as 0";
    EXPECT_EQ(settings.steps, 4) << "the other values are the last good ones";
    settings.font = "Mono";
  }
  EXPECT_EQ(store->FailureCount(), 0u);
  RawDatabase raw(file);
  EXPECT_EQ(raw.IntegrityCheck(), "ok");
  EXPECT_EQ(raw.Value(HKEY_CURRENT_USER, kMain, "font"),
            (RawValue{REG_SZ, {'M', 'o', 'n', 'o', 0}}));
}

// ---- Two processes ------------------------------------------------------

constexpr int kProcesses = 4;
constexpr int kRounds = 25;

// Each process writes values that say which process and round wrote them.
void Fill(CSettings& settings, int process, int round) {
  const int n = process * kRounds + round;  // 0..99
  settings.fontSize = 1000 + n;
  settings.font = "Face " + std::to_string(n);
  settings.textcolor = 0x010000u + static_cast<ColorRef>(n);
  settings.chordcolor = 0x020000u + static_cast<ColorRef>(n);
  settings.tabcolor = 0x030000u + static_cast<ColorRef>(n);
  settings.backgroundcolor = 0x040000u + static_cast<ColorRef>(n);
  settings.tabMiniValue = n;
  settings.tabMaxValue = 99 - n;
  settings.steps = n % 25 - 12;
  settings.key = n % 21;
  settings.fontBold = n % 2 == 1;
  settings.autoColor = n % 3 == 1;
}

// The writer number behind each recognisable field, or -1 for a default.
std::vector<int> Writers(const CSettings& s) {
  auto from = [](long long value, long long base) { return static_cast<int>(value - base); };
  std::vector<int> writers{
      s.fontSize == 9 ? -1 : from(s.fontSize, 1000),
      s.font == "Fixedsys" ? -1
                           : (s.font.starts_with("Face ") ? std::stoi(s.font.substr(5)) : 1000),
      s.textcolor == 0 ? -1 : from(s.textcolor, 0x010000),
      s.chordcolor == 0x00FF0000 ? -1 : from(s.chordcolor, 0x020000),
      s.tabcolor == 0x000000FF ? -1 : from(s.tabcolor, 0x030000),
      s.backgroundcolor == 0x00FFFFFF ? -1 : from(s.backgroundcolor, 0x040000),
  };
  return writers;
}

bool AllWritten(const std::vector<int>& writers, bool defaultsAllowed) {
  for (const int writer : writers)
    if (!(writer >= 0 && writer < kProcesses * kRounds) && !(defaultsAllowed && writer == -1))
      return false;
  return true;
}

TEST(SettingsStoreConcurrency, ProcessesLoadingAndSavingAtOnceLoseNothing) {
  TempDirectory directory;
  const fs::path file = directory.StoreFile();
  const std::vector<int> codes = RunInProcesses(kProcesses, [&](int process) {
    auto store = std::make_shared<SettingsStore>(file);
    for (int round = 0; round < kRounds; ++round) {
      CSettings settings(store);
      if (!AllWritten(Writers(settings), /*defaultsAllowed=*/true)) return 2;
      Fill(settings, process, round);
    }
    return store->FailureCount() == 0 ? 0 : 1;
  });
  EXPECT_EQ(codes, std::vector<int>(kProcesses, 0))
      << "1: a store call failed, 2: a value read back wrong";

  RawDatabase raw(file);
  EXPECT_EQ(raw.IntegrityCheck(), "ok");
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values"), 21);
  EXPECT_EQ(raw.Count("SELECT count(*) FROM key_values WHERE name <> 'font' AND length(data) <> 4"),
            0);
  const CSettings final(std::make_shared<SettingsStore>(file), SettingsPersistence::ReadOnly);
  // The last write of each value was some process's last round.
  for (const int writer : Writers(final)) EXPECT_EQ(writer % kRounds, kRounds - 1) << writer;
}

}  // namespace
}  // namespace sonavel
