#include "document/TextFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr unsigned char kNul = 0x00;
constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kCr = 0x0D;

// Bytes that may stay behind in the buffer when it is refilled: at most an
// incomplete UTF-8 sequence, or a high surrogate plus an odd byte.
constexpr std::size_t kMaxCarry = 8;

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// One bit per zero byte of `word`; flags above a true zero byte may be
// spurious (borrows), but the lowest flag is always exact.
constexpr std::uint64_t ZeroBytes(std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; }

inline bool IsLineStop(unsigned char b, bool stopAtNul) {
  return b == kCr || b == kLf || (stopAtNul && b == kNul);
}

// The first CR or LF (or NUL) in [p, end), or end, eight bytes at a time.
const unsigned char* FindLineStop(const unsigned char* p, const unsigned char* end, bool stopAtNul) {
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint64_t nulMask = stopAtNul ? ~std::uint64_t{0} : 0;
    while (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      const std::uint64_t stops =
          ZeroBytes(word ^ (kOnes * kCr)) | ZeroBytes(word ^ (kOnes * kLf)) | (ZeroBytes(word) & nulMask);
      if (stops != 0) return p + std::countr_zero(stops) / 8;
      p += 8;
    }
  }
  for (; p < end; ++p) {
    if (IsLineStop(*p, stopAtNul)) return p;
  }
  return end;
}

struct EncodedChar {
  std::array<char, 4> bytes{};
  std::size_t size = 0;
};

// UTF-8 of the Windows-1252 bytes 80..FF, built once from the shared tables.
const std::array<EncodedChar, 128>& HighWindows1252AsUtf8() {
  static const std::array<EncodedChar, 128> table = [] {
    std::array<EncodedChar, 128> result{};
    for (std::size_t i = 0; i < result.size(); ++i) {
      std::string utf8;
      AppendUtf8(utf8, Windows1252ToUnicode(static_cast<std::uint8_t>(0x80 + i)));
      std::memcpy(result[i].bytes.data(), utf8.data(), utf8.size());
      result[i].size = utf8.size();
    }
    return result;
  }();
  return table;
}

// Writes the UTF-8 of Windows-1252 bytes to `o`, which has room for three
// bytes per input byte plus four.
char* DecodeWindows1252(const unsigned char* p, const unsigned char* end, char* o) {
  const auto& table = HighWindows1252AsUtf8();
  while (p < end) {
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if ((word & kHighBits) == 0) {
        std::memcpy(o, p, 8);
        o += 8;
        p += 8;
        continue;
      }
    }
    const unsigned char b = *p++;
    if (b < 0x80) {
      *o++ = static_cast<char>(b);
    } else {
      const EncodedChar& c = table[b - 0x80];
      std::memcpy(o, c.bytes.data(), c.bytes.size());
      o += c.size;
    }
  }
  return o;
}

// Valid sequences are copied as they are; every byte that does not start a
// valid sequence becomes U+FFFD, so a broken sequence never swallows the
// bytes after it.
void AppendUtf8Replacing(std::string& out, const unsigned char* p, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(p), size);
  if (IsValidUtf8(bytes)) {
    out.append(bytes);
    return;
  }
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t start = i;
    const char32_t c = DecodeUtf8At(bytes, i);
    if (i - start > 1 || c < 0x80) {
      out.append(bytes.substr(start, i - start));
    } else {
      AppendUtf8(out, kReplacementCharacter);
    }
  }
}

// The length of the prefix of `p` that does not end inside a UTF-8 sequence
// whose remaining bytes have not been read yet.
std::size_t CompleteUtf8Prefix(const unsigned char* p, std::size_t size) {
  const std::size_t lowest = size >= 3 ? size - 3 : 0;
  for (std::size_t i = size; i > lowest; --i) {
    const unsigned char b = p[i - 1];
    if ((b & 0xC0) == 0x80) continue;
    // A lead byte further back than this cannot reach the end validly.
    if (b < 0xC0) return size;
    const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    return i - 1 + length > size ? i - 1 : size;
  }
  return size;
}

inline char* PutUtf8(char* o, char32_t c) {
  if (c < 0x80) {
    *o++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *o++ = static_cast<char>(0xC0 | (c >> 6));
    *o++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *o++ = static_cast<char>(0xE0 | (c >> 12));
    *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *o++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *o++ = static_cast<char>(0xF0 | (c >> 18));
    *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *o++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return o;
}

template <bool BigEndian>
inline std::uint32_t LoadUnit(const unsigned char* p) {
  return BigEndian ? (std::uint32_t{p[0]} << 8) | p[1] : (std::uint32_t{p[1]} << 8) | p[0];
}

std::string ErrorText(int error) { return std::generic_category().message(error); }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

CTextFileReader::CTextFileReader(std::FILE* file, std::size_t blockSize)
    : m_file(file), m_blockSize(blockSize == 0 ? 1 : blockSize) {
  if (!m_file) {
    m_eof = true;
    m_sourceExhausted = true;
    return;
  }
  m_buffer.resize(m_blockSize + kMaxCarry);
  DetectEncoding();
}

void CTextFileReader::RecordReadError(int error) {
  m_readError = true;
  if (m_readErrno == 0) m_readErrno = error;
  m_sourceExhausted = true;
}

bool CTextFileReader::Refill() {
  if (m_sourceExhausted) return false;
  const std::size_t kept = m_end - m_pos;
  if (kept != 0 && m_pos != 0) std::memmove(m_buffer.data(), m_buffer.data() + m_pos, kept);
  m_bufferOffset += m_pos;
  m_pos = 0;
  m_end = kept;
  errno = 0;
  const std::size_t got = std::fread(m_buffer.data() + kept, 1, m_blockSize, m_file);
  m_end += got;
  if (got < m_blockSize) {
    // fread stops short only at the end of the file or on an error.
    if (std::ferror(m_file)) RecordReadError(errno);
    m_sourceExhausted = true;
  }
  return got > 0;
}

bool CTextFileReader::EnsureAvailable(std::size_t bytes) {
  while (m_end - m_pos < bytes) {
    if (!Refill()) return m_end - m_pos >= bytes;
  }
  return true;
}

void CTextFileReader::DetectEncoding() {
  EnsureAvailable(3);
  const std::size_t available = m_end - m_pos;
  const unsigned char* b = m_buffer.data() + m_pos;
  if (available >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    m_encoding = TextEncoding::Utf16LittleEndian;
    m_pos += 2;
  } else if (available >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    m_encoding = TextEncoding::Utf16BigEndian;
    m_pos += 2;
  } else if (available >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    m_encoding = TextEncoding::Utf8;
    m_pos += 3;
  } else {
    m_encoding = TextEncoding::EightBit;
    m_codePage = WholeFileIsValidUtf8() ? CodePage::Utf8 : CodePage::Windows1252;
    Rewind();
  }
  // Room for a whole buffer decoded: three UTF-8 bytes for a Windows-1252
  // byte or a UTF-16 unit, plus the slack of the four-byte stores.
  if (m_codePage == CodePage::Windows1252) m_scratch.resize((m_blockSize + kMaxCarry) * 3 + 8);
  if (UnitSize() == 2) m_scratch.resize((m_blockSize + kMaxCarry) / 2 * 3 + 8);
}

bool CTextFileReader::WholeFileIsValidUtf8() {
  for (;;) {
    const unsigned char* p = m_buffer.data() + m_pos;
    const std::size_t available = m_end - m_pos;
    const std::size_t complete = m_sourceExhausted ? available : CompleteUtf8Prefix(p, available);
    if (!IsValidUtf8(std::string_view(reinterpret_cast<const char*>(p), complete))) return false;
    m_pos += complete;
    if (m_sourceExhausted) return true;
    Refill();
  }
}

void CTextFileReader::Rewind() {
  m_atStart = true;
  m_eof = false;
  if (m_bufferOffset == 0) {
    // The buffer still holds the file from its first byte: nothing to read again.
    m_pos = 0;
    return;
  }
  m_pos = 0;
  m_end = 0;
  m_bufferOffset = 0;
  errno = 0;
  if (fseeko(m_file, 0, SEEK_SET) != 0) {
    RecordReadError(errno);
    return;
  }
  m_sourceExhausted = m_readError;
}

std::size_t CTextFileReader::UnitSize() const {
  return m_encoding == TextEncoding::Utf16BigEndian || m_encoding == TextEncoding::Utf16LittleEndian ? 2 : 1;
}

std::uint32_t CTextFileReader::UnitAt(std::size_t pos) const {
  const unsigned char* p = m_buffer.data() + pos;
  switch (m_encoding) {
    case TextEncoding::Utf16BigEndian: return LoadUnit<true>(p);
    case TextEncoding::Utf16LittleEndian: return LoadUnit<false>(p);
    default: return *p;
  }
}

// The previous line stopped at its terminator without taking it, so that a
// CR at the end of one block can still pair with an LF at the start of the
// next.
void CTextFileReader::SkipTerminator() {
  const std::size_t unit = UnitSize();
  const bool wasCr = UnitAt(m_pos) == kCr;
  m_pos += unit;
  if (wasCr && EnsureAvailable(unit) && UnitAt(m_pos) == kLf) m_pos += unit;
}

bool CTextFileReader::AppendLine(std::string& out) {
  if (m_eof) return false;
  if (m_atStart) {
    m_atStart = false;
  } else {
    SkipTerminator();
  }
  bool afterNul = false;
  for (;;) {
    const bool final = m_sourceExhausted;
    const Region region = DecodeRegion(m_buffer.data() + m_pos, m_end - m_pos, final, afterNul, out);
    m_pos += region.consumed;
    switch (region.stop) {
      case Stop::Terminator:
        return true;
      case Stop::Nul:
        afterNul = true;
        m_pos += UnitSize();
        break;
      case Stop::NeedMore:
        if (final) {
          m_pos = m_end;
          m_eof = true;
          return true;
        }
        Refill();
        break;
    }
  }
}

CTextFileReader::Region CTextFileReader::DecodeRegion(const unsigned char* bytes, std::size_t size, bool final,
                                                      bool afterNul, std::string& out) {
  switch (m_encoding) {
    case TextEncoding::EightBit: return DecodeEightBit(bytes, size, afterNul, out);
    case TextEncoding::Utf8: return DecodeUtf8(bytes, size, final, afterNul, out);
    case TextEncoding::Utf16BigEndian: return DecodeUtf16<true>(bytes, size, final, afterNul, out);
    case TextEncoding::Utf16LittleEndian: return DecodeUtf16<false>(bytes, size, final, afterNul, out);
  }
  return {size, Stop::NeedMore};
}

CTextFileReader::Region CTextFileReader::DecodeEightBit(const unsigned char* bytes, std::size_t size,
                                                        bool afterNul, std::string& out) {
  const unsigned char* end = bytes + size;
  const unsigned char* stop = FindLineStop(bytes, end, !afterNul);
  if (!afterNul) {
    if (m_codePage == CodePage::Windows1252) {
      char* const first = m_scratch.data();
      out.append(first, static_cast<std::size_t>(DecodeWindows1252(bytes, stop, first) - first));
    } else {
      out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(stop - bytes));
    }
  }
  const auto consumed = static_cast<std::size_t>(stop - bytes);
  if (stop == end) return {consumed, Stop::NeedMore};
  return {consumed, *stop == kNul ? Stop::Nul : Stop::Terminator};
}

CTextFileReader::Region CTextFileReader::DecodeUtf8(const unsigned char* bytes, std::size_t size, bool final,
                                                    bool afterNul, std::string& out) {
  // CR, LF and NUL never occur inside a valid sequence, so the line ends can
  // be found before decoding.
  const unsigned char* end = bytes + size;
  const unsigned char* stop = FindLineStop(bytes, end, !afterNul);
  const auto upToStop = static_cast<std::size_t>(stop - bytes);
  if (stop != end) {
    if (!afterNul) AppendUtf8Replacing(out, bytes, upToStop);
    return {upToStop, *stop == kNul ? Stop::Nul : Stop::Terminator};
  }
  if (afterNul) return {size, Stop::NeedMore};
  const std::size_t decodable = final ? size : CompleteUtf8Prefix(bytes, size);
  AppendUtf8Replacing(out, bytes, decodable);
  return {decodable, Stop::NeedMore};
}

template <bool BigEndian>
CTextFileReader::Region CTextFileReader::DecodeUtf16(const unsigned char* bytes, std::size_t size, bool final,
                                                     bool afterNul, std::string& out) {
  const unsigned char* p = bytes;
  const unsigned char* end = bytes + (size & ~std::size_t{1});
  Stop stop = Stop::NeedMore;
  if (afterNul) {
    for (; p < end; p += 2) {
      const std::uint32_t u = LoadUnit<BigEndian>(p);
      if (u == kCr || u == kLf) {
        stop = Stop::Terminator;
        break;
      }
    }
  } else {
    char* const first = m_scratch.data();
    char* o = first;
    while (p < end) {
      const std::uint32_t u = LoadUnit<BigEndian>(p);
      if (u < 0x80) {
        if (u <= kCr && (u == kCr || u == kLf || u == kNul)) {
          stop = u == kNul ? Stop::Nul : Stop::Terminator;
          break;
        }
        *o++ = static_cast<char>(u);
        p += 2;
      } else if (u < 0xD800 || u > 0xDFFF) {
        o = PutUtf8(o, u);
        p += 2;
      } else {
        char32_t c = kReplacementCharacter;
        std::size_t width = 2;
        if (u <= 0xDBFF) {
          if (end - p >= 4) {
            const std::uint32_t low = LoadUnit<BigEndian>(p + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
              c = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
              width = 4;
            }
          } else if (!final) {
            break;  // its low half may come with the next block
          }
        }
        o = PutUtf8(o, c);
        p += width;
      }
    }
    out.append(first, static_cast<std::size_t>(o - first));
  }
  auto consumed = static_cast<std::size_t>(p - bytes);
  if (stop == Stop::NeedMore && final && p == end && consumed != size) {
    // Half a unit at the end of the file: a damaged file, not a lost character.
    if (!afterNul) AppendUtf8(out, kReplacementCharacter);
    consumed = size;
  }
  return {consumed, stop};
}

std::size_t CTextFileReader::ReserveSize() {
  const int fd = fileno(m_file);
  struct stat status {};
  if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) return 2;
  auto length = static_cast<std::size_t>(status.st_size);
  if (UnitSize() == 2) length /= 2;
  // Slack for LF-only files, whose lines come back one byte longer, and for
  // Windows-1252 letters, which take two bytes in UTF-8.
  const std::size_t slack = m_codePage == CodePage::Windows1252 ? length / 8 : length / 32;
  return length + slack + 2;
}

bool CTextFileReader::ReadLine(std::string& line) {
  if (m_eof) return false;
  line.clear();
  return AppendLine(line);
}

bool CTextFileReader::ReadAll(std::string& text, std::string_view separator) {
  if (!m_file) return false;
  std::string joined;
  joined.reserve(ReserveSize());
  for (bool first = true; !m_eof; first = false) {
    if (!first) joined.append(separator);
    AppendLine(joined);
  }
  if (m_readError) return false;
  text = std::move(joined);
  return true;
}

bool ReadSongFile(const std::filesystem::path& path, SongFileText& out, std::string& error) {
  // Non-blocking, so that a FIFO given as a song does not hang the editor.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }
  UniqueFile file(::fdopen(fd, "rb"));
  if (!file) {
    error = ErrorText(errno);
    ::close(fd);
    return false;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    error = ErrorText(errno);
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    error = ErrorText(EISDIR);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    error = "Not a regular file";
    return false;
  }
  CTextFileReader reader(file.get());
  std::string text;
  if (!reader.ReadAll(text, "\r\n")) {
    error = reader.ReadErrorNumber() != 0 ? "Read error: " + ErrorText(reader.ReadErrorNumber()) : "Read error";
    return false;
  }
  out.text = std::move(text);
  out.encoding = reader.Encoding();
  out.codePage = reader.EightBitCodePage();
  return true;
}

}  // namespace sonavel
