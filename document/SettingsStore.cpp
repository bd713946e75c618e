#include "document/SettingsStore.h"

#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "document/RegistryPath.h"
#include "document/SqliteHandles.h"
#include "document/StoreFiles.h"
#include "document/StoreRecovery.h"

namespace sonavel {

namespace fs = std::filesystem;

namespace {

// Marks the database as ours, so that a database of another program that
// happens to lie at our path is never taken over.
constexpr int kApplicationId = 0x536F6E76;  // "Sonv"
constexpr int kSchemaVersion = 1;

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

// ---- SQLite -------------------------------------------------------------

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
// Inside a batch the batch's transaction holds the lock, and this one is
// part of it.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db, bool inBatch = false)
      : m_db(db),
        m_result(inBatch ? SQLITE_OK : sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)),
        m_open(!inBatch && m_result == SQLITE_OK),
        m_inBatch(inBatch) {}
  ~WriteTransaction() {
    if (m_open) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;

  int BeginResult() const { return m_result; }
  int Commit() {
    if (m_inBatch) return SQLITE_OK;
    const int result = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) m_open = false;
    return result;
  }

 private:
  sqlite3* m_db;
  int m_result;
  bool m_open;
  bool m_inBatch;
};

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

// SQLite would open a FIFO and wait on it for ever, and a device is no
// store either.
bool RegularOrMissing(const fs::path& file) {
  struct stat status {};
  return ::stat(file.c_str(), &status) != 0 ? errno == ENOENT : S_ISREG(status.st_mode);
}

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

DatabaseState InspectFile(const fs::path& file, DatabaseHandle& db, int flags) {
  if (NotADatabase(file)) return DatabaseState::Corrupt;
  db = OpenDatabase(file.string(), flags);
  return db ? Inspect(db.get()) : DatabaseState::Unreadable;
}

// The check the recovery repeats under its lock, without creating the file.
bool StillCorrupt(const fs::path& file, DatabaseHandle& db) {
  return InspectFile(file, db, SQLITE_OPEN_READWRITE) == DatabaseState::Corrupt;
}

}  // namespace

// ---- Connection ---------------------------------------------------------

class SettingsStore::Connection {
 public:
  static std::unique_ptr<Connection> Open(const fs::path& file, StoreAccess access) {
    if (file.empty() || !RegularOrMissing(file)) return nullptr;
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
    WriteTransaction transaction(m_db.get(), m_inBatch);
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
    WriteTransaction transaction(m_db.get(), m_inBatch);
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

  int BeginBatch(std::chrono::milliseconds maxWait) {
    if (m_readOnly) return SQLITE_READONLY;
    const int result = WithBusyTimeout(maxWait, "BEGIN IMMEDIATE");
    m_inBatch = result == SQLITE_OK;
    return result;
  }

  int CommitBatch(std::chrono::milliseconds maxWait) {
    m_inBatch = false;
    const int result = WithBusyTimeout(maxWait, "COMMIT");
    if (result != SQLITE_OK) sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    return result;
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
        if (!SetAsideIfStillCorrupt(file, StillCorrupt)) return nullptr;
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
      db = OpenDatabase(ImmutableUri(file), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
      state = db ? Inspect(db.get()) : DatabaseState::Unreadable;
    }
    if (state != DatabaseState::Ours) return nullptr;
    return Prepare(std::move(db), StoreAccess::ReadOnly);
  }

  int WithBusyTimeout(std::chrono::milliseconds maxWait, const char* sql) {
    sqlite3_busy_timeout(m_db.get(), static_cast<int>(std::max<std::int64_t>(maxWait.count(), 0)));
    const int result = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(m_db.get(), kBusyTimeoutMs);
    return result;
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
  bool m_inBatch = false;
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
  if (m_batch == Batch::Failed) return nullptr;
  if (m_connection) return m_connection.get();
  // A batch goes on in its one transaction or not at all.
  if (m_batch == Batch::Open) {
    m_batch = Batch::Failed;
    return nullptr;
  }
  if (!m_file.empty() && !RegularOrMissing(m_file) && !std::exchange(m_warned, true)) {
    std::fprintf(stderr, "sonavel: %s is not a regular file; the settings are not kept\n", m_file.c_str());
  }
  m_connection = Connection::Open(m_file, m_access);
  return m_connection.get();
}

bool SettingsStore::BeginWriteBatch(std::chrono::milliseconds maxWait) {
  m_batch = Batch::None;
  m_batchDeadline = std::chrono::steady_clock::now() + maxWait;
  Connection* connection = EnsureOpen();
  const int result = connection != nullptr ? connection->BeginBatch(maxWait) : SQLITE_CANTOPEN;
  if (result == SQLITE_OK) {
    m_batch = Batch::Open;
    return true;
  }
  if (connection != nullptr) DropConnectionIfBroken(result);
  m_batch = Batch::Failed;
  return Fail();
}

bool SettingsStore::EndWriteBatch() {
  const Batch batch = std::exchange(m_batch, Batch::None);
  if (batch != Batch::Open || !m_connection) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_batchDeadline -
                                                                          std::chrono::steady_clock::now());
  const int result = m_connection->CommitBatch(left);
  if (result == SQLITE_OK) return true;
  DropConnectionIfBroken(result);
  return Fail();
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
      sqliteResult == SQLITE_READONLY_DBMOVED) {
    m_connection.reset();
    if (m_batch == Batch::Open) m_batch = Batch::Failed;
  }
}

bool SettingsStore::CreateKey(std::uint32_t root, std::string_view path) {
  // A failed batch was counted once, as one failure.
  if (!IsValidRegistryPath(path) || m_batch == Batch::Failed) return false;
  Connection* connection = EnsureOpen();
  if (connection == nullptr) return Fail();
  const int result = connection->CreateKey(root, path, FoldCase(path));
  if (result == SQLITE_OK) return true;
  DropConnectionIfBroken(result);
  return Fail();
}

bool SettingsStore::KeyExists(std::uint32_t root, std::string_view path) {
  if (!IsValidRegistryPath(path)) return false;
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
  if (!IsValidRegistryPath(path)) {
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
  if (!IsValidRegistryPath(path) || data.size() > kMaxValueBytes || m_batch == Batch::Failed) return false;
  Connection* connection = EnsureOpen();
  if (connection == nullptr) return Fail();
  const int result = connection->WriteValue(root, FoldCase(path), name, FoldCase(name), type, data);
  if (result == SQLITE_OK) return true;
  if (result == SQLITE_DONE) return false;  // no such key
  DropConnectionIfBroken(result);
  return Fail();
}

}  // namespace sonavel
