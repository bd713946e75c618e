#include "document/StoreRecovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "document/StoreFiles.h"

namespace sonavel {

namespace fs = std::filesystem;

namespace {

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

}  // namespace

bool NotADatabase(const fs::path& file) {
  static constexpr std::string_view kMagic("SQLite format 3\0", 16);
  // Never waits on a FIFO for a writer that will not come.
  const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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

bool SetAsideIfStillCorrupt(const fs::path& file, const CorruptionCheck& stillCorrupt) {
  const DirectoryLock lock(DirectoryOf(file));
  if (!lock.Held()) return false;
  if (!Exists(file)) return true;
  DatabaseHandle db;
  if (!stillCorrupt(file, db)) return true;  // another process has recovered it meanwhile
  if (!CopyAside(file)) return false;
  if (!db) db = OpenDatabase(file.string(), SQLITE_OPEN_READWRITE);
  return db && ResetDatabase(db.get()) == SQLITE_OK;
}

}  // namespace sonavel
