#include "document/TextFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <system_error>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string WithCrLfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    out.append(text, runStart, i - runStart);
    out += "\r\n";
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    runStart = i + 1;
  }
  out.append(text, runStart);
  return out;
}

bool StartsWithByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || bytes.starts_with(kUtf8Mark);
}

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The reader takes a file without a mark as UTF-8 whenever it is valid
// UTF-8, and a file that starts like a mark as marked; Windows-1252 bytes of
// either kind would read back as other characters.
bool ReadsBackAsWindows1252(std::string_view bytes) {
  if (StartsWithByteOrderMark(bytes)) return false;
  return IsAscii(bytes) || !IsValidUtf8(bytes);
}

void PutUtf16Unit(std::string& out, char32_t unit, bool bigEndian) {
  const auto high = static_cast<char>(unit >> 8);
  const auto low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

std::string Utf16WithMark(std::string_view utf8, bool bigEndian) {
  std::string out;
  out.reserve(utf8.size() * 2 + 2);
  PutUtf16Unit(out, 0xFEFF, bigEndian);
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = DecodeUtf8At(utf8, i);
    if (c < 0x10000) {
      PutUtf16Unit(out, c, bigEndian);
    } else {
      PutUtf16Unit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
      PutUtf16Unit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
    }
  }
  return out;
}

std::string ErrorText(int error) { return std::generic_category().message(error); }

std::string Failure(std::string_view step, int error) {
  return std::string(step) + ": " + ErrorText(error);
}

// The final file a chain of symbolic links names, so that saving replaces
// that file and the links keep working.
bool FollowLinks(const fs::path& path, fs::path& target, int& error) {
  constexpr int kMaxHops = 40;  // as the kernel allows
  fs::path current = path;
  for (int hop = 0; hop < kMaxHops; ++hop) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      target = current;
      return true;
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) {
      error = ec.value();
      return false;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  error = ELOOP;
  return false;
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

// A temporary file beside the target that disappears unless it was renamed.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    Close();
    if (!m_path.empty()) ::unlink(m_path.c_str());
  }

  int Create(const fs::path& directory, const std::string& targetName) {
    // Keep the name within NAME_MAX however long the target's is.
    std::string name = "." + targetName.substr(0, 200) + ".XXXXXX";
    std::string pattern = (directory / name).string();
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) return errno;
    m_path = pattern;
    return 0;
  }

  int Fd() const { return m_fd; }
  const std::string& Path() const { return m_path; }

  int Close() {
    if (m_fd < 0) return 0;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? 0 : errno;
  }

  void KeepRenamed() { m_path.clear(); }

 private:
  int m_fd = -1;
  std::string m_path;
};

}  // namespace

std::string EncodeForSave(std::string_view utf8Text, SaveEncoding preferred, SaveEncoding* used) {
  std::string text = WithCrLfLineBreaks(utf8Text);
  SaveEncoding chosen = preferred;
  switch (preferred) {
    case SaveEncoding::Windows1252:
      if (std::optional<std::string> eightBit = Utf8ToWindows1252(text); eightBit && ReadsBackAsWindows1252(*eightBit)) {
        text = std::move(*eightBit);
        break;
      }
      chosen = SaveEncoding::Utf8;
      [[fallthrough]];
    case SaveEncoding::Utf8:
      // A text that begins with U+FEFF would lose it to the reader, which
      // takes those bytes for a mark; a real mark in front keeps the character.
      if (text.starts_with(kUtf8Mark)) text.insert(0, kUtf8Mark);
      break;
    case SaveEncoding::Utf8WithMark:
      text.insert(0, kUtf8Mark);
      break;
    case SaveEncoding::Utf16LittleEndian:
      text = Utf16WithMark(text, false);
      break;
    case SaveEncoding::Utf16BigEndian:
      text = Utf16WithMark(text, true);
      break;
  }
  if (used) *used = chosen;
  return text;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string& error) {
  fs::path target;
  if (int linkError = 0; !FollowLinks(path, target, linkError)) {
    error = Failure("Cannot follow the link", linkError);
    return false;
  }

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) {
    error = ErrorText(errno);
    return false;
  }
  if (exists && S_ISDIR(existing.st_mode)) {
    error = ErrorText(EISDIR);
    return false;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    error = "Not a regular file";
    return false;
  }

  fs::path directory = target.parent_path();
  if (directory.empty()) directory = ".";
  TemporaryFile temp;
  if (const int e = temp.Create(directory, target.filename().string()); e != 0) {
    error = Failure("Cannot create a temporary file", e);
    return false;
  }

  if (exists) {
    if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
      // Only root may give the file away; others keep their own ownership.
      (void)!::fchown(temp.Fd(), existing.st_uid, existing.st_gid);
    }
  }
  const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());
  // Some file systems (FAT) have no permission bits to set; that is no
  // reason to refuse the save.
  (void)::fchmod(temp.Fd(), mode);

  if (const int e = WriteAll(temp.Fd(), bytes); e != 0) {
    error = Failure("Cannot write", e);
    return false;
  }
  if (::fsync(temp.Fd()) != 0 && errno != EINVAL) {
    error = Failure("Cannot write", errno);
    return false;
  }
  if (const int e = temp.Close(); e != 0) {
    error = Failure("Cannot write", e);
    return false;
  }
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
    error = Failure("Cannot replace the file", errno);
    return false;
  }
  temp.KeepRenamed();
  SyncDirectory(directory);
  return true;
}

bool WriteSongFile(const fs::path& path, std::string_view utf8Text, SaveEncoding preferred, SaveEncoding* used,
                   std::string& error) {
  SaveEncoding chosen = preferred;
  const std::string bytes = EncodeForSave(utf8Text, preferred, &chosen);
  if (!WriteFileAtomically(path, bytes, error)) return false;
  if (used) *used = chosen;
  return true;
}

}  // namespace sonavel
