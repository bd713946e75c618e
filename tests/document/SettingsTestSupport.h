#pragma once
// A temporary directory for a settings store, and direct access to the
// database file underneath it, so that tests check what is really stored
// rather than what the wrapper says is stored.

#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Sets or unsets an environment variable for the lifetime of the object.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, std::optional<std::string> value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    Apply(value);
  }
  ~EnvironmentOverride() { Apply(m_old); }
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

 private:
  void Apply(const std::optional<std::string>& value) {
    if (value)
      ::setenv(m_name, value->c_str(), 1);
    else
      ::unsetenv(m_name);
  }
  const char* m_name;
  std::optional<std::string> m_old;
};

// Creates a database with the given SQL, as another program would.
inline void CreateDatabase(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  const int result = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  sqlite3_close_v2(db);
  if (result != SQLITE_OK) throw std::runtime_error("cannot create " + file.string());
}

class TempDirectory {
 public:
  TempDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "sonavel-settings-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
  }
  ~TempDirectory() {
    std::error_code error;
    // Tests take permissions away; give them back so everything can go.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::filesystem::path StoreFile() const { return m_path / "registry.sqlite3"; }

 private:
  std::filesystem::path m_path;
};

struct RawValue {
  std::uint32_t type;
  Bytes data;
  friend bool operator==(const RawValue&, const RawValue&) = default;
  friend void PrintTo(const RawValue& value, std::ostream* os) {
    *os << "type " << value.type << ", " << value.data.size() << " bytes";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < value.data.size() && i < 32; ++i)
      *os << ' ' << kHex[value.data[i] >> 4] << kHex[value.data[i] & 0xF];
    if (value.data.size() > 32) *os << " ...";
  }
};

// Reads and writes the tables with plain SQL, without the store's code.
class RawDatabase {
 public:
  explicit RawDatabase(const std::filesystem::path& file) {
    if (sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot open " + file.string());
    sqlite3_busy_timeout(m_db, 5000);
  }
  ~RawDatabase() { sqlite3_close_v2(m_db); }
  RawDatabase(const RawDatabase&) = delete;
  RawDatabase& operator=(const RawDatabase&) = delete;

  // Path and name exactly as stored.
  std::optional<RawValue> Value(std::uint32_t root, std::string_view path, std::string_view name) {
    Query query(m_db,
                "SELECT v.type, v.data FROM key_values v JOIN keys k ON k.id = v.key_id "
                "WHERE k.root = ?1 AND k.path = ?2 AND v.name = ?3");
    query.Bind(1, root).Bind(2, path).Bind(3, name);
    if (!query.Next()) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(query.get(), 1));
    const int size = sqlite3_column_bytes(query.get(), 1);
    return RawValue{static_cast<std::uint32_t>(sqlite3_column_int64(query.get(), 0)),
                    Bytes(bytes, bytes + size)};
  }

  // Value names under a key in the order they were first written.
  std::vector<std::string> ValueNames(std::uint32_t root, std::string_view path) {
    Query query(m_db,
                "SELECT v.name FROM key_values v JOIN keys k ON k.id = v.key_id "
                "WHERE k.root = ?1 AND k.path = ?2 ORDER BY v.rowid");
    query.Bind(1, root).Bind(2, path);
    std::vector<std::string> names;
    while (query.Next())
      names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query.get(), 0)));
    return names;
  }

  std::int64_t Count(const char* sql) {
    Query query(m_db, sql);
    return query.Next() ? sqlite3_column_int64(query.get(), 0) : -1;
  }

  std::string IntegrityCheck() {
    Query query(m_db, "PRAGMA integrity_check");
    return query.Next() ? reinterpret_cast<const char*>(sqlite3_column_text(query.get(), 0))
                        : "no answer";
  }

  void Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string text = message ? message : "?";
      sqlite3_free(message);
      throw std::runtime_error(text);
    }
  }

 private:
  class Query {
   public:
    Query(sqlite3* db, const char* sql) {
      if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Query() { sqlite3_finalize(m_statement); }
    Query& Bind(int index, std::uint32_t value) {
      sqlite3_bind_int64(m_statement, index, value);
      return *this;
    }
    Query& Bind(int index, std::string_view text) {
      sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT);
      return *this;
    }
    bool Next() { return sqlite3_step(m_statement) == SQLITE_ROW; }
    sqlite3_stmt* get() const { return m_statement; }

   private:
    sqlite3_stmt* m_statement = nullptr;
  };

  sqlite3* m_db = nullptr;
};

}  // namespace sonavel::test
