#pragma once
// Bytes as hexadecimal pairs, so that a failing comparison of file contents
// shows where the bytes differ.

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
