#pragma once
// Bytes as hexadecimal pairs, so that a failing comparison of file contents
// shows where the bytes differ, and tables can spell out exact file bytes.

#include <string>
#include <string_view>

inline std::string Hex(std::string_view bytes) {
  static constexpr const char* kDigits = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

// The bytes of pairs such as "EF BB BF 41"; spaces between pairs are optional.
inline std::string FromHex(std::string_view hex) {
  const auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += hex[i] == ' ' ? 1 : 2) {
    if (hex[i] != ' ') out.push_back(static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1])));
  }
  return out;
}
