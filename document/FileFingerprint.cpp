#include "document/FileFingerprint.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace sonavel {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;

std::uint64_t LoadWord(const unsigned char* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

}  // namespace

// Each step is a bijection of the state for a given word, and distinct words
// give distinct states, so changing any one word always changes the result.
void ContentHasher::Mix(std::uint64_t word) {
  m_state = (m_state ^ word) * kMultiplier;
  m_state ^= m_state >> 29;
}

void ContentHasher::Update(const void* data, std::size_t size) {
  auto bytes = static_cast<const unsigned char*>(data);
  m_size += size;
  if (m_carrySize != 0) {
    const std::size_t taken = std::min(size, sizeof m_carry - m_carrySize);
    std::memcpy(m_carry + m_carrySize, bytes, taken);
    m_carrySize += taken;
    bytes += taken;
    size -= taken;
    if (m_carrySize < sizeof m_carry) return;
    Mix(LoadWord(m_carry));
    m_carrySize = 0;
  }
  for (; size >= 8; bytes += 8, size -= 8) Mix(LoadWord(bytes));
  std::memcpy(m_carry, bytes, size);
  m_carrySize = size;
}

FileFingerprint ContentHasher::Result() const {
  ContentHasher last = *this;
  unsigned char tail[8] = {};
  std::memcpy(tail, m_carry, m_carrySize);
  // The size tells "ab" from "ab\0".
  last.Mix(LoadWord(tail));
  last.Mix(m_size);
  return {m_size, last.m_state};
}

FileFingerprint FingerprintOf(std::string_view bytes) {
  ContentHasher hasher;
  hasher.Update(bytes.data(), bytes.size());
  return hasher.Result();
}

std::optional<FileFingerprint> FingerprintFile(const std::filesystem::path& path, int* error) {
  const auto fail = [error](int number) -> std::optional<FileFingerprint> {
    if (error) *error = number;
    return std::nullopt;
  };
  // Non-blocking, so that a FIFO put in the file's place cannot hang us.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return fail(errno);
  struct stat status {};
  int statusError = 0;
  if (::fstat(fd, &status) != 0) {
    statusError = errno;
  } else if (!S_ISREG(status.st_mode)) {
    statusError = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
  }
  if (statusError != 0) {
    ::close(fd);
    return fail(statusError);
  }
  ContentHasher hasher;
  std::vector<unsigned char> block(64 * 1024);
  for (;;) {
    const ssize_t got = ::read(fd, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int number = errno;
      ::close(fd);
      return fail(number);
    }
    if (got == 0) break;
    hasher.Update(block.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  return hasher.Result();
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileStamp{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                   static_cast<std::uint64_t>(status.st_size),
                   static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

}  // namespace sonavel
