#pragma once
// Owning handles for the SQLite connections and statements of the settings
// store, and how the store and its recovery open a connection.

#include <sqlite3.h>

#include <memory>
#include <string>

namespace sonavel {

struct DatabaseCloser {
  void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Another process holds the write lock only for one short transaction; the
// timeout is generous so that a slow disk does not lose a save, and short
// enough that a process holding the lock for ever never hangs the program.
inline constexpr int kBusyTimeoutMs = 2000;

// A connection to the database file (or URI) `name`, or null when it cannot
// be opened.
inline DatabaseHandle OpenDatabase(const std::string& name, int flags) {
  sqlite3* raw = nullptr;
  const int result = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
  DatabaseHandle db(raw);
  if (result != SQLITE_OK) return nullptr;
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  // Tells a file moved away underneath (READONLY_DBMOVED) from a refusal.
  sqlite3_extended_result_codes(db.get(), 1);
  return db;
}

}  // namespace sonavel
