#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <chrono>

#include "SettingsTestSupport.h"
#include "document/RegistryKey.h"
#include "document/RegistryPath.h"
#include "document/Settings.h"

namespace sonavel::test {
namespace {

using namespace std::string_literals;

// An absolute XDG_CONFIG_HOME is the settings scope test's.
TEST(SettingsStoreDefaultPath, IgnoresAnUnsetOrRelativeXdgConfigHome) {
  for (const char* xdg : {static_cast<const char*>(nullptr), "relative/conf"}) {
    const auto pathSeen = [xdg] {
      ::setenv("HOME", "/home/u", 1);
      xdg ? ::setenv("XDG_CONFIG_HOME", xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
      return SettingsStore::DefaultPath() == "/home/u/.config/Quillon Works/Sonavel/registry.sqlite3" ? 0 : 1;
    };
    EXPECT_EQ(InChildProcess(pathSeen), 0) << (xdg ? xdg : "(unset)");
  }
}

using SettingsStoreTest = StoreTest;

// Relative, as a relative HOME gives it; a file in the way fails every call
// until it is gone.
TEST_F(SettingsStoreTest, CreatesMissingDirectoriesForTheUserOnlyOnceNothingIsInTheWay) {
  const fs::path start = fs::current_path();
  fs::current_path(directory.path);
  SettingsStore relative(fs::path("config") / "Quillon Works" / "registry.sqlite3");
  WriteFile("config", "a file where the directory should be");
  const bool blocked = relative.CreateKey(HKEY_CURRENT_USER, "K");
  fs::remove("config");
  const bool created = relative.CreateKey(HKEY_CURRENT_USER, "K");
  fs::current_path(start);
  EXPECT_FALSE(blocked);
  EXPECT_TRUE(created);
  struct stat info {};
  ASSERT_EQ(::stat((directory.path / "config" / "Quillon Works").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(SettingsStoreTest, TellsMissingAndRefusedFromFailures) {
  ASSERT_TRUE(store->CreateKey(HKEY_CURRENT_USER, "K"));
  EXPECT_EQ(store->ReadValue(HKEY_CURRENT_USER, "Nope", "v", 4).status, LookupStatus::NoKey);
  EXPECT_EQ(store->ReadValue(HKEY_CURRENT_USER, "K", "v", 4).status, LookupStatus::NoValue);
  EXPECT_EQ(store->ReadValue(HKEY_USERS, "", "v", 4).status, LookupStatus::NoValue) << "roots always exist";
  EXPECT_FALSE(store->WriteValue(HKEY_CURRENT_USER, "Nope", "v", REG_BINARY, Bytes{1})) << "writing needs the key";
  EXPECT_FALSE(store->WriteValue(HKEY_CURRENT_USER, "K", "v", REG_BINARY, Bytes(SettingsStore::kMaxValueBytes + 1)));
  EXPECT_TRUE(store->WriteValue(HKEY_CURRENT_USER, "K", "v", REG_BINARY, Bytes(5, 7))) << "no transaction left open";
  EXPECT_TRUE(store->WriteValue(HKEY_CURRENT_USER, "K", "empty", REG_BINARY, Bytes{}));
  const ValueLookup cut = store->ReadValue(HKEY_CURRENT_USER, "K", "v", 4);
  EXPECT_TRUE(cut.status == LookupStatus::Found && cut.size == 5 && !cut.dataRead && cut.data.empty());
  const ValueLookup empty = store->ReadValue(HKEY_CURRENT_USER, "K", "empty", 0);
  EXPECT_TRUE(empty.status == LookupStatus::Found && empty.size == 0 && empty.dataRead);
  EXPECT_EQ(store->FailureCount(), 0u) << "neither missing nor refused is a failure of the store";

  SettingsStore failing{fs::path{}};
  EXPECT_EQ(failing.ReadValue(HKEY_CURRENT_USER, "K", "v", 4).status, LookupStatus::StoreFailure);
  EXPECT_EQ(failing.FailureCount(), 1u);
}

// A FIFO where the store should be is refused at once, never waited on: the
// settings keep their defaults. The child ends itself should it hang.
TEST_F(SettingsStoreTest, AFifoInsteadOfTheStoreIsRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  const auto run = [this] {
    ::alarm(10);
    CSettings settings(store);
    settings.steps = 5;
    settings.Save();
    return store->FailureCount() != 0 ? CSettings(store).steps : 100;
  };
  EXPECT_EQ(InChildProcess(run), 1);
}

// Another process holding the write lock for ever costs a save one wait,
// of two seconds, and one failure; nothing of it is stored half-way, and
// the next save after the lock is gone stores everything.
TEST_F(SettingsStoreTest, ALockedStoreCostsASaveOneShortWait) {
  CSettings settings(store);
  settings.Save();
  settings.steps = 7;
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const std::uint64_t failures = store->FailureCount();
  const auto start = std::chrono::steady_clock::now();
  settings.Save();
  const auto waited = std::chrono::steady_clock::now() - start;
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(store->FailureCount() - failures, 1u);
  EXPECT_LT(waited, std::chrono::seconds(10)) << "one wait for the whole save";
  EXPECT_EQ(Raw(kTransposing, "steps"), Number(1));
  settings.Save();
  EXPECT_EQ(Raw(kTransposing, "steps"), Number(7));
}

// Each store is read in a process of its own, as an ordinary user, whom
// permissions bind, and without standard input, so that a file the store
// leaves open shows as descriptor 0 (SQLite parks /dev/null there).
TEST(SettingsStoreSituations, GiveWhatTheyCanAndNeverLoseAFile) {
  const struct {
    const char* label;
    void (*make)(const fs::path& file);  // from a healthy store holding steps 4
    std::int32_t loadedSteps;            // 1 for the defaults, 4 for the last good values
    bool reset;                          // copied aside and started afresh; otherwise left exactly as it was
    bool noRoomForACopy = false;
  } rows[] = {
      {"notADatabaseWithJournal",
       [](const fs::path& f) {
         WriteFile(f, "not a database");
         WriteFile(f.string() + "-wal", "w");  // even the shortest journal goes with the copy
       },
       1, true},
      // Page 2 holds the first table.
      {"brokenTablePage", [](const fs::path& f) { WriteFile(f, ReadFile(f).replace(4096, 64, 64, '\xFF')); }, 1, true},
      {"noRoomForTheCopy", [](const fs::path& f) { WriteFile(f, std::string(16384, 'd')); }, 1, false, true},
      {"otherProgramsDatabase", [](const fs::path& f) { Query(f, "PRAGMA application_id = 7"); }, 1, false},
      {"newerSchema", [](const fs::path& f) { Query(f, "PRAGMA user_version = 2"); }, 1, false},
      {"unreadableFile", [](const fs::path& f) { fs::permissions(f, fs::perms::none); }, 1, false},
      {"readOnlyDirectory",
       [](const fs::path& f) { fs::permissions(f.parent_path(), fs::perms::owner_write, fs::perm_options::remove); },
       4, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    TempDirectory directory;
    // With the characters that end a path in an SQLite URI.
    const fs::path file = directory.path / "Sonavel ?#%41" / "registry.sqlite3";
    fs::create_directory(file.parent_path());
    // One run of the program, saving as its scope ends.
    SettingsScope(std::make_shared<SettingsStore>(file), SettingsPersistence::LoadAndSave).Settings().steps = 4;
    row.make(file);
    const std::string stored = ReadFile(file), journal = ReadFile(file.string() + "-wal");
    const auto run = [&] {
      constexpr uid_t kNobody = 65534;
      ::close(STDIN_FILENO);
      const rlimit room{12288, 12288};  // enough to reset the file in place, not to copy it
      if (row.noRoomForACopy && (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &room)))
        return 200;
      if (::geteuid() == 0) {
        for (const auto& entry : fs::recursive_directory_iterator(directory.path))
          if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0) return 201;
        if (::chown(directory.path.c_str(), kNobody, kNobody) != 0 || ::setgroups(0, nullptr) != 0 ||
            ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
          return 201;
      }
      CSettings settings(std::make_shared<SettingsStore>(file));
      const int loaded = std::exchange(settings.steps, 6);
      settings.Save();
      struct stat in {};
      return ::fstat(STDIN_FILENO, &in) == 0 && !S_ISCHR(in.st_mode) ? 202 : loaded;
    };
    EXPECT_EQ(InChildProcess(run), row.loadedSteps) << "200, 201: not run as asked; 202: a file left open";

    fs::path kept = file;  // where the bytes of the store are now
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("registry.sqlite3.corrupt-") && !name.ends_with("-wal")) kept = entry.path();
    }
    EXPECT_EQ(kept != file, row.reset) << kept;
    EXPECT_TRUE(ReadFile(kept) == stored && ReadFile(kept.string() + "-wal") == journal) << "a file was not kept";
    EXPECT_TRUE(!row.reset || Value(file, kTransposing, "steps") == Number(6)) << "the fresh store was not written";
  }
}

// The registry-style keys over the store.
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
