#pragma once
// A settings store in a temporary directory, and plain SQL on the database
// file underneath it, so that tests check what is really stored rather than
// what the wrapper says is stored.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

#include "document/RegistryKey.h"
#include "document/SettingsStore.h"
#include "tests/support/HexBytes.h"
#include "tests/support/TempFiles.h"

namespace sonavel::test {

using Bytes = std::vector<std::uint8_t>;
using RawValue = std::pair<std::uint32_t, Bytes>;  // type code and data

constexpr const char* kMain = "Software\\Quillon Works\\Sonavel\\Settings\\main";
constexpr const char* kTransposing = "Software\\Quillon Works\\Sonavel\\Settings\\Transposing";

// The layout numbers and flags are saved in.
inline RawValue Number(std::uint32_t v) {
  return {REG_BINARY, {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
}

// Runs body in a process of its own and gives its exit code: what the child
// changes (environment, user, limits, descriptors) dies with it.
inline int InChildProcess(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every row a query gives on a connection of its own, each column as text.
inline std::vector<std::vector<std::string>> Query(const fs::path& file, const std::string& sql) {
  using Rows = std::vector<std::vector<std::string>>;
  const auto addRow = [](void* rows, int columns, char** texts, char**) {
    auto& row = static_cast<Rows*>(rows)->emplace_back();
    for (int column = 0; column < columns; ++column) row.emplace_back(texts[column] ? texts[column] : "");
    return 0;
  };
  Rows rows;
  sqlite3* db = nullptr;
  char* error = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_busy_timeout(db, 5000);
  const int result = sqlite3_exec(db, sql.c_str(), addRow, &rows, &error);
  const std::string message = error ? error : sqlite3_errmsg(db);
  sqlite3_free(error);
  sqlite3_close(db);
  if (result != SQLITE_OK) throw std::runtime_error(message);
  return rows;
}

// Path and name spelled exactly as stored (neither holds a quote).
inline std::optional<RawValue> Value(const fs::path& file, std::string_view path, std::string_view name) {
  const auto rows = Query(file, "SELECT type, hex(data) FROM key_values, keys WHERE id = key_id AND path = '" +
                                    std::string(path) + "' AND name = '" + std::string(name) + "'");
  if (rows.empty()) return std::nullopt;
  const std::string data = FromHex(rows[0][1]);
  return RawValue{std::uint32_t(std::stoul(rows[0][0])), Bytes(data.begin(), data.end())};
}

// A fresh store of its own for every test.
class StoreTest : public ::testing::Test {
 protected:
  // Puts a value of any type and layout, which the wrapper alone cannot.
  void Put(std::string_view path, std::string_view name, const RawValue& value) {
    ASSERT_TRUE(store->CreateKey(HKEY_CURRENT_USER, path));
    ASSERT_TRUE(store->WriteValue(HKEY_CURRENT_USER, path, name, value.first, value.second));
  }
  std::optional<RawValue> Raw(std::string_view path, std::string_view name) { return Value(file, path, name); }

  TempDirectory directory;
  const fs::path file = directory.path / "registry.sqlite3";
  std::shared_ptr<SettingsStore> store = std::make_shared<SettingsStore>(file);
};

}  // namespace sonavel::test
