#pragma once
// What a file held when it was read, to tell later whether another program
// has changed it since: the content's size and a digest of its bytes, and
// the cheaper stamp (inode, size, time) that says when the bytes are worth
// reading again.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace sonavel {

struct FileFingerprint {
  std::uint64_t size = 0;
  std::uint64_t digest = 0;
  friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

// Digests bytes as they come, in pieces of any size: the result depends only
// on the bytes. It tells an accidental change, not a forged one.
class ContentHasher {
 public:
  void Update(const void* data, std::size_t size);
  FileFingerprint Result() const;

 private:
  void Mix(std::uint64_t word);

  std::uint64_t m_state = 0x9E3779B97F4A7C15u;
  std::uint64_t m_size = 0;
  unsigned char m_carry[8] = {};
  std::size_t m_carrySize = 0;
};

FileFingerprint FingerprintOf(std::string_view bytes);

// Reads the file the path names (links followed) to its end. Nothing when it
// cannot be read, with the errno in `*error` when given.
std::optional<FileFingerprint> FingerprintFile(const std::filesystem::path& path, int* error = nullptr);

// The inode, size and modification time, which change whenever the bytes are
// replaced or rewritten (though they may also change when the bytes do not).
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::optional<FileStamp> StampOf(const std::filesystem::path& path);

}  // namespace sonavel
