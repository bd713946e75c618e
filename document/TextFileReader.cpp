#include "document/TextFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
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
// bytes after it. Gives the number of bytes replaced.
std::uint64_t AppendUtf8Replacing(std::string& out, const unsigned char* p, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(p), size);
  if (IsValidUtf8(bytes)) {
    out.append(bytes);
    return 0;
  }
  std::uint64_t replaced = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t start = i;
    const char32_t c = DecodeUtf8At(bytes, i);
    if (i - start > 1 || c < 0x80) {
      out.append(bytes.substr(start, i - start));
    } else {
      AppendUtf8(out, kReplacementCharacter);
      ++replaced;
    }
  }
  return replaced;
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

std::size_t SequenceLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2; }

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

using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::uint64_t kMaxSongFileBytes = std::uint64_t{1} << 30;

}  // namespace

bool Utf8Validator::Feed(const unsigned char* bytes, std::size_t size) {
  // First the sequence the previous block left open.
  while (m_pendingSize != 0 && size != 0) {
    m_pending[m_pendingSize++] = *bytes++;
    --size;
    if (m_pendingSize < SequenceLength(m_pending[0])) continue;
    const std::string_view sequence(reinterpret_cast<const char*>(m_pending), m_pendingSize);
    m_pendingSize = 0;
    if (!IsValidUtf8(sequence)) return false;
  }
  if (size == 0) return true;  // the open sequence may still be completed
  const std::size_t complete = CompleteUtf8Prefix(bytes, size);
  if (!IsValidUtf8(std::string_view(reinterpret_cast<const char*>(bytes), complete))) return false;
  m_pendingSize = size - complete;
  std::memcpy(m_pending, bytes + complete, m_pendingSize);
  return true;
}

SaveEncoding SaveEncodingOf(TextEncoding encoding, CodePage codePage) {
  switch (encoding) {
    case TextEncoding::Utf8: return SaveEncoding::Utf8WithMark;
    case TextEncoding::Utf16LittleEndian: return SaveEncoding::Utf16LittleEndian;
    case TextEncoding::Utf16BigEndian: return SaveEncoding::Utf16BigEndian;
    case TextEncoding::EightBit: break;
  }
  return codePage == CodePage::Windows1252 ? SaveEncoding::Windows1252 : SaveEncoding::Utf8;
}

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
  // Rewinding reads the start again; each byte counts once.
  const std::uint64_t gotFrom = m_bufferOffset + kept;
  if (gotFrom + got > m_hashedEnd) {
    const std::size_t fresh = static_cast<std::size_t>(gotFrom + got - m_hashedEnd);
    m_hasher.Update(m_buffer.data() + kept + got - fresh, fresh);
    m_hashedEnd = gotFrom + got;
  }
  if (m_validating && !m_validator.Feed(m_buffer.data() + kept, got)) {
    m_validating = false;
    m_notUtf8 = true;
  }
  m_end += got;
  if (got < m_blockSize) {
    // fread stops short only at the end of the file or on an error.
    if (std::ferror(m_file)) RecordReadError(errno);
    m_sourceExhausted = true;
    if (m_validating && !m_validator.Finish()) m_notUtf8 = true;
    m_validating = false;
  }
  return got > 0;
}

bool CTextFileReader::EnsureAvailable(std::size_t bytes) {
  while (m_end - m_pos < bytes) {
    if (!Refill()) return false;  // a refill that adds nothing leaves the shortfall
  }
  return true;
}

void CTextFileReader::DetectEncoding() {
  m_validating = true;
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
    // Decided now when the bytes read so far tell; otherwise the bytes are
    // checked as reading goes on.
    m_codePage = m_notUtf8 ? CodePage::Windows1252 : CodePage::Utf8;
    m_codePageSettled = m_notUtf8 || m_sourceExhausted;
    Rewind();
  }
  if (m_encoding != TextEncoding::EightBit) m_validating = false;
  SizeScratch();
}

void CTextFileReader::SizeScratch() {
  // Room for a whole buffer decoded: three UTF-8 bytes for a Windows-1252
  // byte or a UTF-16 unit, plus the slack of the four-byte stores.
  if (m_codePage == CodePage::Windows1252) m_scratch.resize((m_blockSize + kMaxCarry) * 3 + 8);
  if (UnitSize() == 2) m_scratch.resize((m_blockSize + kMaxCarry) / 2 * 3 + 8);
}

// Lines handed out one by one cannot be converted afterwards, so reading
// line by line checks the rest of the file first and starts again.
void CTextFileReader::SettleCodePageAhead() {
  while (m_validating && !m_sourceExhausted) {
    m_pos = m_end;
    Refill();
  }
  m_validating = false;
  m_codePage = m_notUtf8 ? CodePage::Windows1252 : CodePage::Utf8;
  m_codePageSettled = true;
  SizeScratch();
  Rewind();
}

// The text so far holds the file's bytes as they were (valid UTF-8 is taken
// unchanged), so converting it gives what reading it as Windows-1252 from
// the start would have given. Done in place, from the back.
void CTextFileReader::SwitchToWindows1252(std::string& rawSoFar) {
  const auto& table = HighWindows1252AsUtf8();
  std::size_t converted = rawSoFar.size();
  for (const char c : rawSoFar) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) converted += table[byte - 0x80].size - 1;
  }
  std::size_t read = rawSoFar.size();
  std::size_t write = converted;
  rawSoFar.resize(converted);
  while (read > 0) {
    const auto byte = static_cast<unsigned char>(rawSoFar[--read]);
    if (byte < 0x80) {
      rawSoFar[--write] = static_cast<char>(byte);
      continue;
    }
    const EncodedChar& c = table[byte - 0x80];
    write -= c.size;
    std::memcpy(rawSoFar.data() + write, c.bytes.data(), c.size);
  }
  m_codePage = CodePage::Windows1252;
  m_codePageSettled = true;
  SizeScratch();
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

// Appends the current line to `out`, or, when `out` holds `limit` bytes or
// more after a block, stops there to go on with the line at the next call.
// True when the line's end was reached.
bool CTextFileReader::AppendLine(std::string& out, std::size_t limit) {
  if (!m_midLine) {
    if (m_atStart) {
      m_atStart = false;
    } else {
      SkipTerminator();
    }
    m_afterNul = false;
    m_midLine = true;
  }
  for (;;) {
    if (!m_codePageSettled && m_notUtf8) SwitchToWindows1252(out);
    const bool final = m_sourceExhausted;
    const Region region = DecodeRegion(m_buffer.data() + m_pos, m_end - m_pos, final, m_afterNul, out);
    m_pos += region.consumed;
    switch (region.stop) {
      case Stop::Terminator:
        m_midLine = false;
        return true;
      case Stop::Nul:
        ++m_losses.nulUnits;
        m_afterNul = true;
        m_pos += UnitSize();
        break;
      case Stop::NeedMore:
        if (final) {
          m_pos = m_end;
          m_eof = true;
          m_midLine = false;
          return true;
        }
        if (out.size() >= limit) return false;
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
  if (afterNul) {
    m_losses.droppedUnits += static_cast<std::uint64_t>(stop - bytes);
  } else {
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
  if (afterNul) m_losses.droppedUnits += upToStop;
  if (stop != end) {
    if (!afterNul) m_losses.malformed += AppendUtf8Replacing(out, bytes, upToStop);
    return {upToStop, *stop == kNul ? Stop::Nul : Stop::Terminator};
  }
  if (afterNul) return {size, Stop::NeedMore};
  const std::size_t decodable = final ? size : CompleteUtf8Prefix(bytes, size);
  m_losses.malformed += AppendUtf8Replacing(out, bytes, decodable);
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
      ++m_losses.droppedUnits;
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
        if (width == 2) ++m_losses.malformed;
        o = PutUtf8(o, c);
        p += width;
      }
    }
    out.append(first, static_cast<std::size_t>(o - first));
  }
  auto consumed = static_cast<std::size_t>(p - bytes);
  if (stop == Stop::NeedMore && final && p == end && consumed != size) {
    // Half a unit at the end of the file: a damaged file, not a lost character.
    if (afterNul) {
      ++m_losses.droppedUnits;
    } else {
      AppendUtf8(out, kReplacementCharacter);
      ++m_losses.malformed;
    }
    consumed = size;
  }
  return {consumed, stop};
}

std::size_t CTextFileReader::ReserveSize() {
  const int fd = fileno(m_file);
  struct stat status {};
  if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) return 2;
  // A file that reports more than any song file may hold (a sparse file,
  // a device) is not trusted with an allocation; the text grows as it is read.
  auto length = static_cast<std::size_t>(std::min<std::uint64_t>(status.st_size, MaxSongFileBytes()));
  if (UnitSize() == 2) length /= 2;
  // Slack for LF-only files, whose lines come back one byte longer, and for
  // Windows-1252 letters, which take two bytes in UTF-8.
  const std::size_t slack = m_codePage == CodePage::Windows1252 ? length / 8 : length / 32;
  return length + slack + 2;
}

bool CTextFileReader::ReadLine(std::string& line) {
  if (m_eof) return false;
  if (!m_codePageSettled) SettleCodePageAhead();
  line.clear();
  return AppendLine(line);
}

bool CTextFileReader::ReadSegment(std::string& segment, std::size_t window, SegmentPlace& place) {
  place.startsLine = !m_inSegmentedLine;
  if (place.startsLine) {
    if (m_eof) return false;
    if (!m_codePageSettled) SettleCodePageAhead();
    m_pending.clear();
    m_pendingFrom = m_searchedTo = 0;
    m_pendingEndsLine = false;
    m_inSegmentedLine = true;
  }
  window = std::max<std::size_t>(window, 1);
  for (;;) {
    const std::size_t end = NextSegmentEnd(window);
    if (end != std::string::npos) {
      segment.assign(m_pending, m_pendingFrom, end - m_pendingFrom);
      m_pendingFrom = m_searchedTo = end;
      place.endsLine = place.lineBreak = false;
      return true;
    }
    if (m_pendingEndsLine) {
      // A line that fits in one segment is handed on without a copy.
      if (m_pendingFrom == 0) segment.swap(m_pending);
      else segment.assign(m_pending, m_pendingFrom);
      m_inSegmentedLine = false;
      place.endsLine = true;
      place.lineBreak = !m_eof;
      return true;
    }
    // Only what is not handed on yet stays, so the line is never held whole.
    m_pending.erase(0, m_pendingFrom);
    m_searchedTo -= m_pendingFrom;
    m_pendingFrom = 0;
    m_pendingEndsLine = AppendLine(m_pending, std::max(window, m_pending.size()) + 1);
  }
}

// Where the next segment of m_pending ends, or npos when more of the line is
// needed to tell, or the rest of the line is its last segment.
std::size_t CTextFileReader::NextSegmentEnd(std::size_t window) {
  const auto isCut = [](char c) { return c == ' ' || c == '\t'; };
  const std::size_t size = m_pending.size();
  if (size - m_pendingFrom <= window) return std::string::npos;
  const std::size_t windowEnd = m_pendingFrom + window;
  std::size_t end = std::string::npos;
  for (std::size_t i = windowEnd; i > m_searchedTo; --i) {
    if (isCut(m_pending[i - 1])) {
      end = i;
      break;
    }
  }
  for (std::size_t i = std::max(m_searchedTo, windowEnd); end == std::string::npos && i < size; ++i) {
    if (isCut(m_pending[i])) end = i + 1;
  }
  if (end == std::string::npos) m_searchedTo = size;
  return end;
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
  if (!m_codePageSettled && m_notUtf8) SwitchToWindows1252(joined);
  m_codePageSettled = true;
  text = std::move(joined);
  return true;
}

std::string DescribeLosses(const ReadLosses& losses) {
  const auto count = [](std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::string text;
  if (losses.nulUnits != 0) {
    text = count(losses.nulUnits, "NUL byte", "NUL bytes");
    if (losses.droppedUnits != 0) text += " (and " + count(losses.droppedUnits, "byte", "bytes") + " after them on their lines)";
  }
  if (losses.malformed != 0) {
    if (!text.empty()) text += " and ";
    text += count(losses.malformed, "damaged character", "damaged characters");
  }
  return text;
}

std::uint64_t MaxSongFileBytes() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kMaxSongFileBytes;
  return std::min(kMaxSongFileBytes, static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 8);
}

std::string SizeText(std::uint64_t bytes) {
  static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
  if (bytes < 1000) return std::to_string(bytes) + " bytes";
  double value = static_cast<double>(bytes) / 1000;
  std::size_t unit = 0;
  // The units reach past the largest 64-bit size, 18.4 EB.
  while (value >= 999.95) {
    value /= 1000;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

namespace {

bool WithinSizeLimit(std::uint64_t size, ReadError& error) {
  error.fileSize = size;
  if (size <= MaxSongFileBytes()) return true;
  error.kind = ReadErrorKind::TooLarge;
  error.limit = MaxSongFileBytes();
  error.reason = "File too large: " + SizeText(size) + " (the limit is " + SizeText(error.limit) + ")";
  return false;
}

// Opens a song file for reading, or says why it cannot be read.
UniqueFile OpenSongFile(const std::filesystem::path& path, ReadError& error) {
  error = ReadError{};
  const auto fail = [&error](std::string reason) {
    error.reason = std::move(reason);
    return nullptr;
  };
  // Non-blocking, so that a FIFO given as a song does not hang the editor.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(ErrorText(errno));
  UniqueFile file(::fdopen(fd, "rb"));
  if (!file) {
    const int fdopenError = errno;
    ::close(fd);
    return fail(ErrorText(fdopenError));
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) return fail(ErrorText(errno));
  if (S_ISDIR(status.st_mode)) return fail(ErrorText(EISDIR));
  if (!S_ISREG(status.st_mode)) return fail("Not a regular file");
  if (!WithinSizeLimit(static_cast<std::uint64_t>(status.st_size), error)) return nullptr;
  return file;
}

std::string ReadFailure(const CTextFileReader& reader) {
  return reader.ReadErrorNumber() != 0 ? "Read error: " + ErrorText(reader.ReadErrorNumber()) : "Read error";
}

}  // namespace

void FileCloser::operator()(std::FILE* file) const { std::fclose(file); }

bool SongFileLines::Open(const std::filesystem::path& path, ReadError& error) {
  m_file = OpenSongFile(path, error);
  if (!m_file) return false;
  m_size = error.fileSize;  // as the size check found it
  m_reader = std::make_unique<CTextFileReader>(m_file.get());
  return true;
}

bool SongFileLines::OpenStandardInput(ReadError& error) {
  error = ReadError{};
  struct stat status {};
  if (::fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode) && ::lseek(STDIN_FILENO, 0, SEEK_CUR) == 0) {
    if (!WithinSizeLimit(static_cast<std::uint64_t>(status.st_size), error)) return false;
    const int fd = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    m_file.reset(fd >= 0 ? ::fdopen(fd, "rb") : nullptr);
    if (!m_file && fd >= 0) ::close(fd);
  } else {
    char block[1 << 16];
    for (;;) {
      const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        error.kind = ReadErrorKind::System;
        error.reason = "Read error: " + ErrorText(errno);
        return false;
      }
      if (got == 0) break;
      if (!WithinSizeLimit(m_held.size() + static_cast<std::size_t>(got), error)) {
        error.reason = "Too large: more than " + SizeText(error.limit);
        return false;
      }
      m_held.append(block, static_cast<std::size_t>(got));
    }
    m_file.reset(::fmemopen(m_held.data(), m_held.size(), "rb"));
  }
  m_size = error.fileSize;  // as the size check found it
  if (!m_file) {
    error.kind = ReadErrorKind::System;
    error.reason = ErrorText(errno);
    return false;
  }
  m_reader = std::make_unique<CTextFileReader>(m_file.get());
  return true;
}

bool SongFileLines::Finished(ReadError& error) const {
  if (!m_reader->HadReadError()) return true;
  error.kind = ReadErrorKind::System;
  error.reason = ReadFailure(*m_reader);
  return false;
}

bool ReadSongFile(const std::filesystem::path& path, SongFileText& out, ReadError& error) {
  const UniqueFile file = OpenSongFile(path, error);
  if (!file) return false;
  const auto fail = [&error](std::string reason) {
    error.reason = std::move(reason);
    return false;
  };
  try {
    CTextFileReader reader(file.get());
    std::string text;
    if (!reader.ReadAll(text, "\r\n")) {
      return fail(ReadFailure(reader));
    }
    out.text = std::move(text);
    out.encoding = reader.Encoding();
    out.codePage = reader.EightBitCodePage();
    out.saveEncoding = reader.EncodingToSave();
    out.losses = reader.Losses();
    out.fingerprint = reader.BytesRead();
    return true;
  } catch (const std::bad_alloc&) {
    error.kind = ReadErrorKind::OutOfMemory;
    return fail("Not enough memory to read it (" + SizeText(error.fileSize) + ")");
  }
}

}  // namespace sonavel
