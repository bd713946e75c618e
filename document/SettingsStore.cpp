#include "document/SettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace sonavel {

namespace fs = std::filesystem;

namespace {

// Marks the database as ours, so that a database of another program that
// happens to lie at our path is never taken over.
constexpr int kApplicationId = 0x536F6E76;  // "Sonv"
constexpr int kSchemaVersion = 1;
// Another process holds the write lock only for one short transaction; the
// timeout is generous so that a slow disk does not lose a save.
constexpr int kBusyTimeoutMs = 5000;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys (
  id INTEGER PRIMARY KEY,
  root INTEGER NOT NULL,
  path TEXT NOT NULL,
  path_folded TEXT NOT NULL,
  UNIQUE (root, path_folded)
);
CREATE TABLE IF NOT EXISTS key_values (
  key_id INTEGER NOT NULL REFERENCES keys (id),
  name TEXT NOT NULL,
  name_folded TEXT NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL CHECK (typeof(data) = 'blob'),
  PRIMARY KEY (key_id, name_folded)
);
)sql";

constexpr const char* kFindKeySql = "SELECT id FROM keys WHERE root = ?1 AND path_folded = ?2";
constexpr const char* kInsertKeySql =
    "INSERT OR IGNORE INTO keys (root, path, path_folded) VALUES (?1, ?2, ?3)";
// One statement, so the key and its value are seen in one snapshot. length()
// of a blob does not load the blob, so a huge value costs nothing here.
constexpr const char* kReadValueSql =
    "SELECT k.id, v.type, length(v.data), CASE WHEN length(v.data) <= ?4 THEN v.data END "
    "FROM keys AS k LEFT JOIN key_values AS v ON v.key_id = k.id AND v.name_folded = ?3 "
    "WHERE k.root = ?1 AND k.path_folded = ?2";
constexpr const char* kUpsertValueSql =
    "INSERT INTO key_values (key_id, name, name_folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT (key_id, name_folded) DO UPDATE SET type = excluded.type, data = excluded.data";

int PrimaryCode(int result) { return result & 0xFF; }

bool IsCorruption(int result) {
  const int primary = PrimaryCode(result);
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// ---- Case folding -------------------------------------------------------

// Lower-cases the letters that have a simple one-to-one case pair, as the
// registry's comparison does. Every mapped pair lies below U+0800, so a
// 2-byte UTF-8 sequence stays 2 bytes and folding keeps every byte offset.
char32_t FoldCodePoint(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c == 0x178) return 0xFF;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  return c;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto lead = static_cast<unsigned char>(folded[i]);
    if (lead < 0x80) {
      folded[i] = static_cast<char>(FoldCodePoint(lead));
      continue;
    }
    if ((lead & 0xE0) != 0xC0 || i + 1 >= folded.size()) continue;
    const auto trail = static_cast<unsigned char>(folded[i + 1]);
    if ((trail & 0xC0) != 0x80) continue;
    const char32_t c = (char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu);
    if (c < 0x80) continue;  // overlong: not a letter of ours, keep the bytes
    const char32_t lower = FoldCodePoint(c);
    folded[i] = static_cast<char>(0xC0 | (lower >> 6));
    folded[i + 1] = static_cast<char>(0x80 | (lower & 0x3F));
    ++i;
  }
  return folded;
}

bool IsValidPath(std::string_view path) {
  if (path.empty()) return true;
  return path.front() != '\\' && path.back() != '\\' && path.find("\\\\") == std::string_view::npos;
}

// ---- SQLite handles -----------------------------------------------------

struct DatabaseCloser {
  void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// One use of a prepared statement. Resetting on scope exit ends the
// statement's read transaction, so nothing stays locked between operations.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* statement) : m_statement(statement) {}
  ~StatementUse() {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

  void Bind(int index, std::int64_t value) { Keep(sqlite3_bind_int64(m_statement, index, value)); }
  void Bind(int index, std::string_view text) {
    // A null pointer would bind SQL NULL instead of an empty text.
    const char* bytes = text.data() != nullptr ? text.data() : "";
    Keep(
        sqlite3_bind_text64(m_statement, index, bytes, text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
  }
  void Bind(int index, std::span<const std::uint8_t> blob) {
    Keep(blob.empty()
             ? sqlite3_bind_zeroblob(m_statement, index, 0)
             : sqlite3_bind_blob64(m_statement, index, blob.data(), blob.size(), SQLITE_STATIC));
  }
  int Step() { return m_bindResult != SQLITE_OK ? m_bindResult : sqlite3_step(m_statement); }
  sqlite3_stmt* get() const { return m_statement; }

 private:
  void Keep(int result) {
    if (m_bindResult == SQLITE_OK) m_bindResult = result;
  }
  sqlite3_stmt* m_statement;
  int m_bindResult = SQLITE_OK;
};

// BEGIN IMMEDIATE takes the write lock at once, so two writers wait for each
// other through the busy timeout instead of failing half-way.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db)
      : m_db(db),
        m_result(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)),
        m_open(m_result == SQLITE_OK) {}
  ~WriteTransaction() {
    if (m_open) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;

  int BeginResult() const { return m_result; }
  int Commit() {
    const int result = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) m_open = false;
    return result;
  }

 private:
  sqlite3* m_db;
  int m_result;
  bool m_open;
};

DatabaseHandle OpenHandle(const std::string& name, int flags) {
  sqlite3* raw = nullptr;
  const int result = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
  DatabaseHandle db(raw);
  if (result != SQLITE_OK) return nullptr;
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  // Tells a file moved away underneath (READONLY_DBMOVED) from a refusal.
  sqlite3_extended_result_codes(db.get(), 1);
  return db;
}

// "file:" and the path with everything but unreserved characters and
// slashes percent-encoded, as SQLite's URI file names require.
std::string ImmutableUri(const fs::path& file) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : file.string()) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == '~';
    if (unreserved || c == '/') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0xF];
    }
  }
  return uri + "?immutable=1";
}

std::optional<std::int64_t> QueryInteger(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return std::nullopt;
  }
  StatementHandle statement(raw);
  if (sqlite3_step(statement.get()) != SQLITE_ROW) return std::nullopt;
  return sqlite3_column_int64(statement.get(), 0);
}

enum class DatabaseState {
  Ours,
  OursWithoutTables,  // ours, but someone dropped a table: recreate it
  Empty,
  Foreign,
  Corrupt,
  Unreadable,
};

// Ends with a rollback: it only ever reads.
class ReadTransaction {
 public:
  explicit ReadTransaction(sqlite3* db) : m_db(db) {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  }
  ~ReadTransaction() { sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr); }
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;

 private:
  sqlite3* m_db;
};

DatabaseState Inspect(sqlite3* db) {
  // One snapshot for every question: another process creating the schema
  // in between would otherwise make a fresh store look like another
  // program's database.
  const ReadTransaction snapshot(db);
  sqlite3_stmt* raw = nullptr;
  int result = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &raw, nullptr);
  StatementHandle check(raw);
  if (result == SQLITE_OK) result = sqlite3_step(check.get());
  if (IsCorruption(result)) return DatabaseState::Corrupt;
  if (result != SQLITE_ROW) return DatabaseState::Unreadable;
  const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
  if (verdict == nullptr || std::string_view(verdict) != "ok") return DatabaseState::Corrupt;
  check.reset();

  const auto applicationId = QueryInteger(db, "PRAGMA application_id");
  const auto version = QueryInteger(db, "PRAGMA user_version");
  const auto objects = QueryInteger(db, "SELECT count(*) FROM sqlite_master");
  const auto tables = QueryInteger(
      db,
      "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'key_values')");
  if (!applicationId || !version || !objects || !tables) return DatabaseState::Unreadable;
  if (*applicationId == kApplicationId) {
    if (*version != kSchemaVersion) return DatabaseState::Foreign;
    return *tables == 2 ? DatabaseState::Ours : DatabaseState::OursWithoutTables;
  }
  if (*applicationId == 0 && *objects == 0) return DatabaseState::Empty;
  return DatabaseState::Foreign;
}

int CreateSchema(sqlite3* db) {
  WriteTransaction transaction(db);
  if (transaction.BeginResult() != SQLITE_OK) return transaction.BeginResult();
  const std::string statements = std::string(kSchema) +
                                 "PRAGMA application_id = " + std::to_string(kApplicationId) +
                                 "; PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
  const int result = sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr);
  if (result != SQLITE_OK) return result;
  return transaction.Commit();
}

// ---- Files --------------------------------------------------------------

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }

 private:
  int m_fd;
};

// Settings are private to the user, so the directories we create are too.
bool CreateDirectories(const fs::path& directory) {
  std::error_code error;
  if (fs::is_directory(directory, error)) return true;
  fs::path partial;
  for (const fs::path& part : directory) {
    partial /= part;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return fs::is_directory(directory, error);
}

fs::path DirectoryOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

// Serialises the recovery of a corrupt store between processes, so that a
// second process that found the same damage does not copy and reset the
// fresh store the first one has just started.
class DirectoryLock {
 public:
  explicit DirectoryLock(const fs::path& directory)
      : m_directory(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!m_directory.valid()) return;
    int result;
    do {
      result = ::flock(m_directory.get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    m_held = result == 0;
  }
  bool Held() const { return m_held; }

 private:
  FileDescriptor m_directory;
  bool m_held = false;
};

std::string LocalTimestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// The journals hold the latest changes of a database in WAL or rollback
// mode; a copy without them would not be the whole store.
constexpr const char* kJournalSuffixes[] = {"-wal", "-journal"};

fs::path WithSuffix(const fs::path& path, std::string_view suffix) {
  return fs::path(path.string() + std::string(suffix));
}

fs::path FreeSetAsideName(const fs::path& file) {
  const std::string base = file.string() + ".corrupt-" + LocalTimestamp();
  for (int n = 0;; ++n) {
    const fs::path candidate = n == 0 ? fs::path(base) : fs::path(base + "-" + std::to_string(n));
    bool taken = Exists(candidate);
    for (const char* suffix : kJournalSuffixes)
      taken = taken || Exists(WithSuffix(candidate, suffix));
    if (!taken) return candidate;
  }
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// A new file (never an existing one) with the bytes of `from`, on disk
// before this returns, since the original is about to be emptied. `created`
// tells whether `to` is ours to remove should the copy fail.
bool CopyToNewFile(const fs::path& from, const fs::path& to, bool& created) {
  created = false;
  const FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!source.valid()) return false;
  const FileDescriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!target.valid()) return false;
  created = true;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(source.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    if (!WriteAll(target.get(), buffer, static_cast<std::size_t>(got))) return false;
  }
  return ::fsync(target.get()) == 0;
}

// Copies the database and its journals to names of their own, so that the
// user can still recover them. Copied rather than renamed: a process that
// still has the old file open would otherwise go on using journals by the
// old name, which then belong to the new store, and damage one or the other.
bool CopyAside(const fs::path& file) {
  const fs::path target = FreeSetAsideName(file);
  std::vector<std::pair<fs::path, fs::path>> copies{{file, target}};
  for (const char* suffix : kJournalSuffixes) {
    std::error_code error;
    if (fs::file_size(WithSuffix(file, suffix), error) > 0 && !error)
      copies.emplace_back(WithSuffix(file, suffix), WithSuffix(target, suffix));
  }
  std::vector<fs::path> made;
  for (const auto& [from, to] : copies) {
    bool created = false;
    const bool copied = CopyToNewFile(from, to, created);
    if (created) made.push_back(to);
    if (copied) continue;
    for (const fs::path& partial : made) ::unlink(partial.c_str());
    return false;
  }
  return true;
}

// Empties the database in place through SQLite's own locking, which works
// on any damage, and keeps every other connection to it valid.
int ResetDatabase(sqlite3* db) {
  sqlite3_db_config(db, SQLITE_DBCONFIG_RESET_DATABASE, 1, nullptr);
  const int result = sqlite3_exec(db, "VACUUM", nullptr, nullptr, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_RESET_DATABASE, 0, nullptr);
  return result;
}

// A file that does not even start like a database must not be opened by
// SQLite before it is copied: SQLite would delete a write-ahead log it finds
// beside it, and play a rollback journal into it.
bool NotADatabase(const fs::path& file) {
  static constexpr std::string_view kMagic("SQLite format 3\0", 16);
  const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return false;  // missing or unreadable: SQLite will say
  char header[16];
  std::size_t got = 0;
  while (got < sizeof header) {
    const ssize_t n = ::read(fd.get(), header + got, sizeof header - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  // An empty file is a database that has not been written yet.
  return got != 0 && std::string_view(header, got) != kMagic;
}

DatabaseState InspectFile(const fs::path& file, DatabaseHandle& db, int flags) {
  if (NotADatabase(file)) return DatabaseState::Corrupt;
  db = OpenHandle(file.string(), flags);
  return db ? Inspect(db.get()) : DatabaseState::Unreadable;
}

// True when the file may be opened again as a store.
bool SetAsideIfStillCorrupt(const fs::path& file) {
  const DirectoryLock lock(DirectoryOf(file));
  if (!lock.Held()) return false;
  if (!Exists(file)) return true;
  DatabaseHandle db;
  if (InspectFile(file, db, SQLITE_OPEN_READWRITE) != DatabaseState::Corrupt)
    return true;  // another process has recovered it meanwhile
  if (!CopyAside(file)) return false;
  if (!db) db = OpenHandle(file.string(), SQLITE_OPEN_READWRITE);
  return db && ResetDatabase(db.get()) == SQLITE_OK;
}

}  // namespace

// ---- Connection ---------------------------------------------------------

class SettingsStore::Connection {
 public:
  static std::unique_ptr<Connection> Open(const fs::path& file, StoreAccess access) {
    if (file.empty()) return nullptr;
    if (access == StoreAccess::ReadWrite) {
      if (auto connection = OpenForWriting(file)) return connection;
    }
    // Reading may still work where writing does not: the last good values
    // are better than the defaults.
    return OpenForReading(file);
  }

  // SQLITE_OK with keyId set, SQLITE_DONE when the key is missing, or an error.
  int FindKey(std::uint32_t root, std::string_view foldedPath, std::int64_t& keyId) {
    StatementUse find(m_findKey.get());
    find.Bind(1, std::int64_t{root});
    find.Bind(2, foldedPath);
    const int result = find.Step();
    if (result == SQLITE_ROW) keyId = sqlite3_column_int64(find.get(), 0);
    return result == SQLITE_ROW ? SQLITE_OK : result;
  }

  int CreateKey(std::uint32_t root, std::string_view path, std::string_view foldedPath) {
    std::int64_t keyId = 0;
    const int found = FindKey(root, foldedPath, keyId);
    if (found != SQLITE_DONE) return found;
    if (m_readOnly) return SQLITE_READONLY;
    WriteTransaction transaction(m_db.get());
    if (transaction.BeginResult() != SQLITE_OK) return transaction.BeginResult();
    // The root and every key above the new one exist afterwards, as in the
    // registry, so that each can be opened on its own.
    int result = InsertKey(root, {}, {});
    for (std::size_t end = 0; result == SQLITE_OK && end != std::string_view::npos;) {
      end = path.find('\\', end + 1);
      const std::size_t length = end == std::string_view::npos ? path.size() : end;
      result = InsertKey(root, path.substr(0, length), foldedPath.substr(0, length));
    }
    if (result != SQLITE_OK) return result;
    return transaction.Commit();
  }

  int ReadValue(std::uint32_t root, std::string_view foldedPath, std::string_view foldedName,
                std::size_t maxDataBytes, ValueLookup& lookup) {
    StatementUse read(m_readValue.get());
    read.Bind(1, std::int64_t{root});
    read.Bind(2, foldedPath);
    read.Bind(3, foldedName);
    read.Bind(4, static_cast<std::int64_t>(maxDataBytes));
    const int result = read.Step();
    if (result == SQLITE_DONE) {
      // The root always exists, even before anything was stored under it.
      lookup.status = foldedPath.empty() ? LookupStatus::NoValue : LookupStatus::NoKey;
      return SQLITE_OK;
    }
    if (result != SQLITE_ROW) return result;
    if (sqlite3_column_type(read.get(), 1) == SQLITE_NULL) {
      lookup.status = LookupStatus::NoValue;
      return SQLITE_OK;
    }
    lookup.status = LookupStatus::Found;
    lookup.type = static_cast<std::uint32_t>(sqlite3_column_int64(read.get(), 1));
    lookup.size = static_cast<std::size_t>(sqlite3_column_int64(read.get(), 2));
    lookup.dataRead = sqlite3_column_type(read.get(), 3) != SQLITE_NULL;
    if (lookup.dataRead) {
      const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(read.get(), 3));
      const auto count = static_cast<std::size_t>(sqlite3_column_bytes(read.get(), 3));
      if (bytes == nullptr && count != 0) return SQLITE_NOMEM;
      lookup.data.assign(bytes, bytes + count);
    }
    return SQLITE_OK;
  }

  // SQLITE_OK, SQLITE_DONE when the key is missing, or an error.
  int WriteValue(std::uint32_t root, std::string_view foldedPath, std::string_view name,
                 std::string_view foldedName, std::uint32_t type,
                 std::span<const std::uint8_t> data) {
    if (m_readOnly) return SQLITE_READONLY;
    WriteTransaction transaction(m_db.get());
    if (transaction.BeginResult() != SQLITE_OK) return transaction.BeginResult();
    if (foldedPath.empty()) {
      if (const int result = InsertKey(root, {}, {}); result != SQLITE_OK) return result;
    }
    std::int64_t keyId = 0;
    if (const int result = FindKey(root, foldedPath, keyId); result != SQLITE_OK) return result;
    StatementUse upsert(m_upsertValue.get());
    upsert.Bind(1, keyId);
    upsert.Bind(2, name);
    upsert.Bind(3, foldedName);
    upsert.Bind(4, std::int64_t{type});
    upsert.Bind(5, data);
    if (const int result = upsert.Step(); result != SQLITE_DONE) return result;
    return transaction.Commit();
  }

 private:
  Connection(DatabaseHandle db, bool readOnly) : m_db(std::move(db)), m_readOnly(readOnly) {}

  static std::unique_ptr<Connection> OpenForWriting(const fs::path& file) {
    if (!CreateDirectories(DirectoryOf(file))) return nullptr;
    for (int attempt = 0; attempt < 2; ++attempt) {
      DatabaseHandle db;
      const DatabaseState state = InspectFile(file, db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
      if (state == DatabaseState::Corrupt) {
        db.reset();
        if (!SetAsideIfStillCorrupt(file)) return nullptr;
        continue;
      }
      if (state == DatabaseState::Foreign || state == DatabaseState::Unreadable) return nullptr;
      if (sqlite3_db_readonly(db.get(), "main") != 0) return nullptr;
      // Readers then never wait for a writer, and a commit does not wait
      // for the disk: a settings store may lose its last change on power
      // loss, but it stays consistent.
      sqlite3_exec(db.get(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
      sqlite3_exec(db.get(), "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
      // Writing the schema only when it is missing keeps opening free of
      // writes, and so of waits for the disk.
      if (state != DatabaseState::Ours && CreateSchema(db.get()) != SQLITE_OK) return nullptr;
      return Prepare(std::move(db), StoreAccess::ReadWrite);
    }
    return nullptr;
  }

  static std::unique_ptr<Connection> OpenForReading(const fs::path& file) {
    if (!Exists(file)) return nullptr;
    DatabaseHandle db;
    DatabaseState state = InspectFile(file, db, SQLITE_OPEN_READONLY);
    // A journaled database needs its shared-memory file next to it, which
    // cannot be made in a directory we may not write. Nobody can change the
    // database there through us, so it may be read as an unchanging file.
    if (state == DatabaseState::Unreadable && ::access(DirectoryOf(file).c_str(), W_OK) != 0) {
      db = OpenHandle(ImmutableUri(file), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
      state = db ? Inspect(db.get()) : DatabaseState::Unreadable;
    }
    if (state != DatabaseState::Ours) return nullptr;
    return Prepare(std::move(db), StoreAccess::ReadOnly);
  }

  static std::unique_ptr<Connection> Prepare(DatabaseHandle db, StoreAccess access) {
    std::unique_ptr<Connection> connection(
        new Connection(std::move(db), access == StoreAccess::ReadOnly));
    if (!connection->PrepareStatement(kFindKeySql, connection->m_findKey) ||
        !connection->PrepareStatement(kReadValueSql, connection->m_readValue) ||
        (!connection->m_readOnly &&
         (!connection->PrepareStatement(kInsertKeySql, connection->m_insertKey) ||
          !connection->PrepareStatement(kUpsertValueSql, connection->m_upsertValue))))
      return nullptr;
    return connection;
  }

  bool PrepareStatement(const char* sql, StatementHandle& statement) {
    sqlite3_stmt* raw = nullptr;
    const int result =
        sqlite3_prepare_v3(m_db.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
    statement.reset(raw);
    return result == SQLITE_OK;
  }

  int InsertKey(std::uint32_t root, std::string_view path, std::string_view foldedPath) {
    StatementUse insert(m_insertKey.get());
    insert.Bind(1, std::int64_t{root});
    insert.Bind(2, path);
    insert.Bind(3, foldedPath);
    const int result = insert.Step();
    return result == SQLITE_DONE ? SQLITE_OK : result;
  }

  // Declared first so that the statements are finalised before it closes.
  DatabaseHandle m_db;
  bool m_readOnly;
  StatementHandle m_findKey;
  StatementHandle m_insertKey;
  StatementHandle m_readValue;
  StatementHandle m_upsertValue;
};

// ---- SettingsStore ------------------------------------------------------

SettingsStore::SettingsStore(fs::path file, StoreAccess access)
    : m_file(std::move(file)), m_access(access) {}

SettingsStore::~SettingsStore() = default;

fs::path SettingsStore::DefaultPath() {
  fs::path configHome;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg != '\0' && fs::path(xdg).is_absolute()) {
    configHome = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    configHome = fs::path(home) / ".config";
  } else if (const passwd* user = ::getpwuid(::getuid());
             user != nullptr && user->pw_dir != nullptr && *user->pw_dir != '\0') {
    configHome = fs::path(user->pw_dir) / ".config";
  } else {
    return {};
  }
  return configHome / "Quillon Works" / "Sonavel" / "registry.sqlite3";
}

std::shared_ptr<SettingsStore> SettingsStore::PerUser() {
  static const std::shared_ptr<SettingsStore> store =
      std::make_shared<SettingsStore>(DefaultPath());
  return store;
}

std::shared_ptr<SettingsStore> SettingsStore::WithoutFile() {
  return std::make_shared<SettingsStore>(fs::path{}, StoreAccess::ReadOnly);
}

SettingsStore::Connection* SettingsStore::EnsureOpen() {
  if (!m_connection) m_connection = Connection::Open(m_file, m_access);
  return m_connection.get();
}

bool SettingsStore::Fail() {
  ++m_failures;
  return false;
}

void SettingsStore::DropConnectionIfBroken(int sqliteResult) {
  // Reopening runs the corruption check again, and so recovers a store that
  // was damaged while open (or finds it recovered by another process).
  const int primary = PrimaryCode(sqliteResult);
  if (IsCorruption(sqliteResult) || primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN ||
      sqliteResult == SQLITE_READONLY_DBMOVED)
    m_connection.reset();
}

bool SettingsStore::CreateKey(std::uint32_t root, std::string_view path) {
  if (!IsValidPath(path)) return false;
  Connection* connection = EnsureOpen();
  if (connection == nullptr) return Fail();
  const int result = connection->CreateKey(root, path, FoldCase(path));
  if (result == SQLITE_OK) return true;
  DropConnectionIfBroken(result);
  return Fail();
}

bool SettingsStore::KeyExists(std::uint32_t root, std::string_view path) {
  if (!IsValidPath(path)) return false;
  Connection* connection = EnsureOpen();
  if (connection == nullptr) return Fail();
  if (path.empty()) return true;
  std::int64_t keyId = 0;
  const int result = connection->FindKey(root, FoldCase(path), keyId);
  if (result == SQLITE_OK) return true;
  if (result == SQLITE_DONE) return false;
  DropConnectionIfBroken(result);
  return Fail();
}

ValueLookup SettingsStore::ReadValue(std::uint32_t root, std::string_view path,
                                     std::string_view name, std::size_t maxDataBytes) {
  ValueLookup lookup;
  if (!IsValidPath(path)) {
    lookup.status = LookupStatus::NoKey;
    return lookup;
  }
  Connection* connection = EnsureOpen();
  if (connection == nullptr) {
    Fail();
    return lookup;
  }
  const int result = connection->ReadValue(root, FoldCase(path), FoldCase(name),
                                           std::min(maxDataBytes, kMaxValueBytes), lookup);
  if (result != SQLITE_OK) {
    DropConnectionIfBroken(result);
    Fail();
    return ValueLookup{};
  }
  return lookup;
}

bool SettingsStore::WriteValue(std::uint32_t root, std::string_view path, std::string_view name,
                               std::uint32_t type, std::span<const std::uint8_t> data) {
  if (!IsValidPath(path) || data.size() > kMaxValueBytes) return false;
  Connection* connection = EnsureOpen();
  if (connection == nullptr) return Fail();
  const int result = connection->WriteValue(root, FoldCase(path), name, FoldCase(name), type, data);
  if (result == SQLITE_OK) return true;
  if (result == SQLITE_DONE) return false;  // no such key
  DropConnectionIfBroken(result);
  return Fail();
}

}  // namespace sonavel
