#include "document/RecoveryStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <system_error>

#include "document/TextFileWriter.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "Sonavel recovery 1\n";
constexpr std::string_view kSuffix = ".recovery";

// "key <length>\n<bytes>\n": any bytes fit, a newline in a path as well.
void PutField(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append(" ").append(std::to_string(value.size())).append("\n").append(value).append("\n");
}

class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : m_rest(bytes) {}

  bool Take(std::string_view expected) {
    if (m_rest.substr(0, expected.size()) != expected) return false;
    m_rest.remove_prefix(expected.size());
    return true;
  }

  // A number up to the separator, which is consumed too.
  template <typename Integer>
  bool Number(Integer& value, char separator) {
    const auto [end, error] = std::from_chars(m_rest.data(), m_rest.data() + m_rest.size(), value);
    if (error != std::errc() || end == m_rest.data() || end == m_rest.data() + m_rest.size() || *end != separator) {
      return false;
    }
    m_rest.remove_prefix(static_cast<std::size_t>(end - m_rest.data()) + 1);
    return true;
  }

  bool Field(std::string_view key, std::string& value) {
    std::size_t length = 0;
    // The length is the file's word: it may point anywhere, past the end too.
    if (!Take(key) || !Take(" ") || !Number(length, '\n') ||
        !m_rest.substr(std::min(length, m_rest.size())).starts_with('\n')) {
      return false;
    }
    value.assign(m_rest.substr(0, length));
    m_rest.remove_prefix(length + 1);
    return true;
  }

  bool AtEnd() const { return m_rest.empty(); }

 private:
  std::string_view m_rest;
};

std::string ErrnoText(int error) { return std::strerror(error); }

std::optional<std::string> ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

std::string SerializeRecovery(const RecoveryEntry& entry) {
  std::string out(kMagic);
  PutField(out, "original", entry.originalPath);
  if (entry.original) {
    out.append("fingerprint ").append(std::to_string(entry.original->size)).append(" ");
    out.append(std::to_string(entry.original->digest)).append("\n");
  }
  PutField(out, "title", entry.title);
  PutField(out, "text", entry.text);
  return out;
}

std::optional<RecoveryEntry> ParseRecovery(const std::string& bytes) {
  Cursor cursor(bytes);
  RecoveryEntry entry;
  if (!cursor.Take(kMagic) || !cursor.Field("original", entry.originalPath)) return std::nullopt;
  if (cursor.Take("fingerprint ")) {
    FileFingerprint fingerprint;
    if (!cursor.Number(fingerprint.size, ' ') || !cursor.Number(fingerprint.digest, '\n')) return std::nullopt;
    entry.original = fingerprint;
  }
  // A file's text is only worth offering against the bytes it was read from.
  if (entry.original.has_value() == entry.originalPath.empty()) return std::nullopt;
  if (!cursor.Field("title", entry.title) || !cursor.Field("text", entry.text) || !cursor.AtEnd()) {
    return std::nullopt;
  }
  return entry;
}

RecoveryStore::RecoveryStore(fs::path folder) : m_folder(std::move(folder)) {}

fs::path RecoveryStore::DefaultFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return fs::path(state) / "sonavel";
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "/") / ".local" / "state" / "sonavel";
}

std::string RecoveryStore::NewName() {
  // The process id alone may come back after a crash; the random part keeps
  // a new song from taking the name of one still waiting to be offered.
  static std::mt19937_64 generator{std::random_device{}()};
  std::ostringstream name;
  name << "song-" << ::getpid() << '-' << std::hex << generator();
  return name.str();
}

bool RecoveryStore::Write(const std::string& name, const RecoveryEntry& entry, std::string& error) const {
  std::error_code ignored;
  fs::create_directories(m_folder.parent_path(), ignored);
  if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = m_folder.string() + ": " + ErrnoText(errno);
    return false;
  }
  struct stat folder {};
  if (::lstat(m_folder.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) || folder.st_uid != ::geteuid() ||
      ((folder.st_mode & 077) != 0 && ::chmod(m_folder.c_str(), 0700) != 0)) {
    error = m_folder.string() + ": not a folder of this user's alone";
    return false;
  }
  const fs::path path = m_folder / (name + std::string(kSuffix));
  // Made empty and private first: the careful writer keeps the mode it finds.
  const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (created >= 0) ::close(created);
  WriteError failure;
  if (!WriteFileSafely(path, SerializeRecovery(entry), failure)) {
    error = path.string() + ": " + failure.reason;
    return false;
  }
  return true;
}

void RecoveryStore::Remove(const std::string& name) const {
  std::error_code ignored;
  fs::remove(m_folder / (name + std::string(kSuffix)), ignored);
}

std::vector<RecoveryStore::Found> RecoveryStore::List(std::vector<std::string>& notes) const {
  std::vector<std::pair<fs::file_time_type, Found>> found;
  std::error_code error;
  for (const fs::directory_entry& file : fs::directory_iterator(m_folder, error)) {
    const fs::path path = file.path();
    // The careful writer's own temporary files start with a dot.
    if (path.extension() != kSuffix || path.filename().string().front() == '.') continue;
    const std::optional<std::string> bytes = ReadWhole(path);
    // Killed between making the file and filling it: nothing was in it yet.
    if (bytes && bytes->empty()) {
      fs::remove(path, error);
      continue;
    }
    std::optional<RecoveryEntry> entry = bytes ? ParseRecovery(*bytes) : std::nullopt;
    if (!entry) {
      notes.push_back(path.string() + ": not a recovery file; left as it is");
      continue;
    }
    if (entry->original && FingerprintFile(entry->originalPath) != entry->original) {
      notes.push_back(path.string() + ": " + entry->originalPath +
                      " has changed or gone since these changes were made; they were deleted");
      fs::remove(path, error);
      continue;
    }
    found.emplace_back(fs::last_write_time(path, error), Found{path.stem().string(), std::move(*entry)});
  }
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Found> result;
  for (auto& [time, entry] : found) result.push_back(std::move(entry));
  return result;
}

}  // namespace sonavel
