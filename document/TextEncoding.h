#pragma once
// Windows-1252 and UTF-8 conversions shared by the reader, the writer and
// the text controls.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sonavel {

// Every byte has a character: the five bytes Windows-1252 leaves undefined
// (81 8D 8F 90 9D) map to the C1 controls of the same value, as Windows
// itself converts them, so that any 8-bit file round-trips.
char32_t Windows1252ToUnicode(std::uint8_t byte);

// The Windows-1252 byte of a character, or -1 when the code page lacks it.
int UnicodeToWindows1252(char32_t c);

bool IsValidUtf8(std::string_view bytes);

// No byte above 0x7F: the same text in UTF-8 and in Windows-1252.
bool IsAscii(std::string_view bytes);

void AppendUtf8(std::string& out, char32_t c);

// Decodes the character at bytes[i] of valid UTF-8 and advances i past it.
// Invalid input gives U+FFFD and advances by one byte.
char32_t DecodeUtf8At(std::string_view bytes, std::size_t& i);

std::string Windows1252ToUtf8(std::string_view bytes);

// nullopt when the text holds a character that Windows-1252 cannot hold.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Calls f(line, lineBreakFollows) for every line of text, each CR LF, CR
// and LF ending one; a text of n breaks has n + 1 lines.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  for (std::size_t start = 0;;) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      f(text.substr(start), false);
      return;
    }
    f(text.substr(start, stop - start), true);
    start = stop + (text.substr(stop, 2) == "\r\n" ? 2 : 1);
  }
}

}  // namespace sonavel
