#include "document/TextFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;


std::string ErrorText(int error) { return std::generic_category().message(error); }

std::string Failure(std::string_view step, int error) {
  return std::string(step) + ": " + ErrorText(error);
}

// A new file gets the permissions an ordinary newly created file would get.
// /proc gives the umask without the window in which umask() changes it.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("Umask:")) {
      try {
        return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
      } catch (const std::exception&) {
        break;
      }
    }
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

void SyncDirectory(const fs::path& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The rename is already done; failing to make it durable is no reason to
  // report the save as failed.
  (void)::fsync(fd);
  ::close(fd);
}

int SyncFile(int fd) {
  // Some file systems cannot sync a file at all (EINVAL); their writes are as
  // durable as they get.
  return ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

// Copies every byte of `from` to `to`, both from their start, feeding
// `hasher` when given.
int CopyContent(int from, int to, ContentHasher* hasher) {
  std::vector<char> block(64 * 1024);
  for (off_t offset = 0;;) {
    const ssize_t got = ::pread(from, block.data(), block.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    if (hasher) hasher->Update(block.data(), static_cast<std::size_t>(got));
    if (::lseek(to, offset, SEEK_SET) < 0) return errno;
    if (const int e = WriteAll(to, std::string_view(block.data(), static_cast<std::size_t>(got))); e != 0) return e;
    offset += got;
  }
}

int Rewrite(int fd, std::string_view bytes) {
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) < 0) return errno;
  if (const int e = WriteAll(fd, bytes); e != 0) return e;
  return SyncFile(fd);
}

// A temporary file beside the target, removed unless it is renamed or kept.
// It is locked while it lives, so that another save's clean-up tells it from
// one a killed save left behind.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() { Discard(); }

  int Create(const fs::path& directory, const std::string& targetName) {
    std::string pattern = (directory / (TemporaryNamePrefix(targetName) + "XXXXXX")).string();
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) return errno;
    m_path = pattern;
    (void)::flock(m_fd, LOCK_EX | LOCK_NB);
    return 0;
  }

  int Fd() const { return m_fd; }
  const std::string& Path() const { return m_path; }

  // The file now has another name (renamed) or must stay (the only copy of
  // the old bytes).
  void Keep() { m_path.clear(); }

  void Discard() {
    // Unlinked before it is closed, so the lock guards it to the end.
    if (!m_path.empty()) ::unlink(m_path.c_str());
    m_path.clear();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd = -1;
  std::string m_path;
};

// Our own temporary files for this name that no running save holds.
void RemoveLeftovers(const fs::path& directory, const std::string& targetName) {
  const std::string prefix = TemporaryNamePrefix(targetName);
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
  if (!dir) return;
  const int dirFd = ::dirfd(dir.get());
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix) || name.size() != prefix.size() + 6) continue;
    const FileDescriptor file(::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    struct stat status {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0) continue;
    if (S_ISREG(status.st_mode) && status.st_uid == ::geteuid() && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) {
      ::unlinkat(dirFd, entry->d_name, 0);
    }
  }
}

bool InGroup(gid_t group) {
  if (group == ::getegid()) return true;
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
  return std::find(groups.begin(), groups.begin() + std::max(count, 0), group) != groups.begin() + std::max(count, 0);
}

// Whether a new inode can stand in for the file with nothing lost: no other
// name shares it, we own it and can give the new one its group, and it has
// no extended attributes (ACLs, security labels) that a copy would drop.
bool CanReplaceByRename(const fs::path& path, const struct stat& existing) {
  if (existing.st_nlink != 1 || existing.st_uid != ::geteuid()) return false;
  if (::geteuid() != 0 && !InGroup(existing.st_gid)) return false;
  return ::listxattr(path.c_str(), nullptr, 0) <= 0;
}

enum class Outcome { Done, Failed, WriteInPlace };

class Writer {
 public:
  Writer(const fs::path& path, std::string_view bytes, WriteError& error, const FileFingerprint* expected)
      : m_path(path), m_bytes(bytes), m_error(error), m_expected(expected) {
    m_directory = path.parent_path();
    if (m_directory.empty()) m_directory = ".";
    m_name = path.filename().string();
  }

  Outcome Fail(WriteErrorKind kind, std::string reason) {
    m_error.kind = kind;
    m_error.reason = std::move(reason);
    return Outcome::Failed;
  }
  Outcome Fail(std::string_view step, int error) { return Fail(WriteErrorKind::System, Failure(step, error)); }
  Outcome Changed() {
    return Fail(WriteErrorKind::ChangedOnDisk, "Changed by another program since it was read; not replaced");
  }

  Outcome ByRename(const struct stat* existing) {
    TemporaryFile temp;
    if (const int e = temp.Create(m_directory, m_name); e != 0) return Fail("Cannot create a temporary file", e);
    if (existing && existing->st_gid != ::getegid() && ::fchown(temp.Fd(), static_cast<uid_t>(-1), existing->st_gid) != 0) {
      return Outcome::WriteInPlace;
    }
    // After the group, which may clear the set-group-ID bit. Some file
    // systems (FAT) have no permission bits to set; no reason to refuse.
    (void)::fchmod(temp.Fd(), existing ? existing->st_mode & 07777 : 0666 & ~CurrentUmask());
    if (const int e = WriteAll(temp.Fd(), m_bytes); e != 0) return Fail("Cannot write", e);
    if (const int e = SyncFile(temp.Fd()); e != 0) return Fail("Cannot write", e);
    if (m_expected && FingerprintFile(m_path) != *m_expected) return Changed();
    if (::rename(temp.Path().c_str(), m_path.c_str()) != 0) return Fail("Cannot replace the file", errno);
    temp.Keep();
    SyncDirectory(m_directory);
    return Outcome::Done;
  }

  Outcome InPlace() {
    const FileDescriptor file(::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666));
    if (file.Get() < 0) return Fail("Cannot open the file", errno);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) return Fail("Cannot open the file", errno);
    if (!S_ISREG(status.st_mode)) return Fail(WriteErrorKind::System, "Not a regular file");

    TemporaryFile oldBytes;
    if (const int e = oldBytes.Create(m_directory, m_name); e != 0) return Fail("Cannot create a temporary file", e);
    ContentHasher hasher;
    if (const int e = CopyContent(file.Get(), oldBytes.Fd(), &hasher); e != 0) return Fail("Cannot copy the file", e);
    if (const int e = SyncFile(oldBytes.Fd()); e != 0) return Fail("Cannot copy the file", e);
    if (m_expected && hasher.Result() != *m_expected) return Changed();

    const int e = Rewrite(file.Get(), m_bytes);
    if (e == 0) return Outcome::Done;
    std::string reason = Failure("Cannot write", e);
    int restoreError = ::ftruncate(file.Get(), 0) != 0 ? errno : 0;
    if (restoreError == 0) restoreError = CopyContent(oldBytes.Fd(), file.Get(), nullptr);
    if (restoreError == 0) restoreError = SyncFile(file.Get());
    if (restoreError != 0) {
      oldBytes.Keep();
      reason += "; the old content is kept in " + oldBytes.Path();
    }
    return Fail(WriteErrorKind::System, reason);
  }

  const fs::path& Directory() const { return m_directory; }
  const std::string& Name() const { return m_name; }

 private:
  const fs::path& m_path;
  std::string_view m_bytes;
  WriteError& m_error;
  const FileFingerprint* m_expected;
  fs::path m_directory;
  std::string m_name;
};

}  // namespace


std::string TemporaryNamePrefix(const std::string& fileName) {
  // Within NAME_MAX however long the file's name is.
  std::string prefix = ".";
  prefix.append(fileName, 0, 200).append(".sonavel-save-");
  return prefix;
}

bool WriteFileSafely(const fs::path& path, std::string_view bytes, WriteError& error,
                     const FileFingerprint* expected) {
  error = WriteError{};
  Writer writer(path, bytes, error, expected);
  struct stat linkStatus {};
  const int linkError = ::lstat(path.c_str(), &linkStatus) == 0 ? 0 : errno;
  // The kernel follows a link when the file is opened, with the checks it
  // makes on links in shared folders; renaming would replace the link.
  const bool isLink = linkError == 0 && S_ISLNK(linkStatus.st_mode);
  struct stat existing {};
  const int statError = ::stat(path.c_str(), &existing) == 0 ? 0 : errno;
  const bool exists = statError == 0;
  Outcome outcome = Outcome::WriteInPlace;
  if (linkError != 0 && linkError != ENOENT) {
    outcome = writer.Fail(WriteErrorKind::System, ErrorText(linkError));
  } else if (!exists && statError != ENOENT) {
    outcome = writer.Fail(WriteErrorKind::System, ErrorText(statError));
  } else if (exists && S_ISDIR(existing.st_mode)) {
    outcome = writer.Fail(WriteErrorKind::System, ErrorText(EISDIR));
  } else if (exists && !S_ISREG(existing.st_mode)) {
    outcome = writer.Fail(WriteErrorKind::System, "Not a regular file");
  } else if (exists && (existing.st_mode & 0222) == 0) {
    // Root passes every access check, but a file nobody may write has been
    // made read-only on purpose.
    outcome = writer.Fail(WriteErrorKind::NotWritable, "The file is read-only");
  } else if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
    outcome = writer.Fail(WriteErrorKind::NotWritable, ErrorText(errno));
  } else if (!isLink && (!exists || CanReplaceByRename(path, existing))) {
    outcome = writer.ByRename(exists ? &existing : nullptr);
  }
  if (outcome == Outcome::WriteInPlace) outcome = writer.InPlace();
  if (outcome != Outcome::Done) return false;
  RemoveLeftovers(writer.Directory(), writer.Name());
  return true;
}

bool WriteSongFile(const fs::path& path, std::string_view utf8Text, SaveEncoding preferred, SaveEncoding* used,
                   WriteError& error, const FileFingerprint* expected) {
  SaveEncoding chosen = preferred;
  const std::string bytes = EncodeForSave(utf8Text, preferred, &chosen);
  if (!WriteFileSafely(path, bytes, error, expected)) return false;
  if (used) *used = chosen;
  return true;
}

}  // namespace sonavel
