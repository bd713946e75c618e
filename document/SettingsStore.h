#pragma once
// The per-user hierarchical settings store: keys named by a root and a
// backslash-separated path, each holding named values with a type code and
// data bytes, kept in one SQLite database file.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace sonavel {

enum class StoreAccess {
  ReadWrite,  // creates the directory and the database when missing
  ReadOnly,   // never creates, renames or writes anything
};

// What a value lookup found. A failed store reads as StoreFailure, never as
// a missing value, so that callers and tests can tell the two apart.
enum class LookupStatus { Found, NoKey, NoValue, StoreFailure };

struct ValueLookup {
  LookupStatus status = LookupStatus::StoreFailure;
  std::uint32_t type = 0;
  std::size_t size = 0;            // size of the stored data in bytes
  bool dataRead = false;           // false when size exceeded the caller's limit
  std::vector<std::uint8_t> data;  // the stored bytes when dataRead
};

// Every public operation is one transaction and leaves nothing open but the
// database connection. The connection is opened on first use and reopened
// after a failure, so a store that was busy or missing recovers by itself.
//
// Key paths and value names are compared without regard to case, as the
// registry compares them: ASCII and the Latin, Greek and Cyrillic letters of
// UTF-8 text fold to lower case. A path is its components joined by
// backslashes; an empty path is the root itself, and a path with an empty
// component (leading, trailing or doubled backslash) names no key.
//
// A file that is not a database or is corrupt is first copied, with its
// journals, to "<file>.corrupt-<local time>" and then emptied in place, so
// that the user can still recover it and no data is destroyed. If it cannot
// be copied, it is left as it is and every call fails. A database of another
// program, or of a newer schema, is left alone and every call fails too.
class SettingsStore {
 public:
  // The registry's own limit on a value: larger data is neither written
  // nor read (a read gives dataRead false), so one huge value cannot exhaust
  // memory.
  static constexpr std::size_t kMaxValueBytes = std::size_t{1} << 20;

  explicit SettingsStore(std::filesystem::path file, StoreAccess access = StoreAccess::ReadWrite);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // $XDG_CONFIG_HOME/Quillon Works/Sonavel/registry.sqlite3, with
  // $HOME/.config when the variable is unset, empty or relative (as the XDG
  // rules say). Empty when no home directory can be found.
  static std::filesystem::path DefaultPath();

  // The read-write store at DefaultPath(), shared by the whole process and
  // opened on first use.
  static std::shared_ptr<SettingsStore> PerUser();

  // A store with no file: every call fails, so settings on it keep their
  // defaults and nothing on disk is touched.
  static std::shared_ptr<SettingsStore> WithoutFile();

  const std::filesystem::path& File() const { return m_file; }
  StoreAccess Access() const { return m_access; }

  // Creates the key and every key above it, or finds it when it exists
  // (which succeeds on a read-only store as well).
  bool CreateKey(std::uint32_t root, std::string_view path);
  bool KeyExists(std::uint32_t root, std::string_view path);

  // Reads the type and size of a value, and its data when the data is at
  // most maxDataBytes long (capped at kMaxValueBytes).
  ValueLookup ReadValue(std::uint32_t root, std::string_view path, std::string_view name,
                        std::size_t maxDataBytes);

  // Creates or replaces a value under an existing key.
  bool WriteValue(std::uint32_t root, std::string_view path, std::string_view name,
                  std::uint32_t type, std::span<const std::uint8_t> data);

  // Makes the key creations and writes up to EndWriteBatch one transaction,
  // so that saving many values waits for another process's lock once, at
  // most `maxWait` in all, and then fails as a whole, never half-way. False
  // when the lock could not be had; the writes of the batch then fail at
  // once. Reads go on as usual.
  bool BeginWriteBatch(std::chrono::milliseconds maxWait);
  // Commits the batch; false when it failed, nothing of it being stored.
  bool EndWriteBatch();

  // Operations that failed because of the store itself (cannot open, busy,
  // read-only, I/O, corrupt, not a file), as opposed to a missing key or value.
  std::uint64_t FailureCount() const { return m_failures; }

 private:
  class Connection;
  enum class Batch { None, Open, Failed };

  Connection* EnsureOpen();
  bool Fail();
  void DropConnectionIfBroken(int sqliteResult);

  std::filesystem::path m_file;
  StoreAccess m_access;
  std::unique_ptr<Connection> m_connection;
  std::uint64_t m_failures = 0;
  Batch m_batch = Batch::None;
  std::chrono::steady_clock::time_point m_batchDeadline;
  bool m_warned = false;
};

}  // namespace sonavel
