#include "bench/Corpus.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "document/TextEncoding.h"

namespace sonavel::bench {
namespace {

// A small linear congruential generator: the corpus must be the same on every run.
class Lcg {
 public:
  std::uint32_t Next() {
    m_state = m_state * 1664525u + 1013904223u;
    return m_state >> 8;
  }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) { return items[Next() % N]; }

 private:
  std::uint32_t m_state = 12345;
};

constexpr std::array<std::string_view, 16> kChords = {
    "C", "Am7", "F#m", "Bb", "G/B", "Dsus4", "Ebmaj7", "E7", "Cadd9", "H7", "Dm", "A", "Gm6", "C#dim", "F", "Bbm"};
constexpr std::array<std::string_view, 12> kWords = {
    "love", "river", "sång", "över", "night", "the", "and", "café", "hjärta", "morning", "light", "A"};
constexpr std::array<std::string_view, 6> kStrings = {"e", "B", "G", "D", "A", "E"};

void AppendChordLine(Lcg& rng, std::string& out) {
  const int count = 2 + static_cast<int>(rng.Next() % 4);
  for (int i = 0; i < count; ++i) {
    out += rng.Pick(kChords);
    out.append(2 + rng.Next() % 6, ' ');
  }
  out += "\r\n";
}

void AppendLyricLine(Lcg& rng, std::string& out) {
  const int count = 5 + static_cast<int>(rng.Next() % 6);
  for (int i = 0; i < count; ++i) {
    if (i) out += ' ';
    if (rng.Next() % 7 == 0) {
      out += '[';
      out += rng.Pick(kChords);
      out += ']';
    }
    out += rng.Pick(kWords);
  }
  out += ",\r\n";
}

void AppendTabBlock(Lcg& rng, std::string& out) {
  for (std::string_view name : kStrings) {
    out += name;
    out += '|';
    for (int i = 0; i < 12; ++i) {
      out += "--";
      if (rng.Next() % 3 == 0) {
        out += std::to_string(rng.Next() % 16);
        if (rng.Next() % 5 == 0) out += 'h';
      }
    }
    out += "-|\r\n";
  }
  out += "\r\n";
}

}  // namespace

std::string MakeSongCorpus(std::size_t minBytes) {
  Lcg rng;
  std::string out;
  out.reserve(minBytes + 4096);
  while (out.size() < minBytes) {
    out += "{title: Song}\r\n\r\n";
    for (int verse = 0; verse < 3; ++verse) {
      for (int line = 0; line < 4; ++line) {
        AppendChordLine(rng, out);
        AppendLyricLine(rng, out);
      }
      out += "\r\n";
      AppendTabBlock(rng, out);
    }
  }
  return out;
}

std::string MakeRealSongCorpus(std::size_t minBytes) {
  std::string once;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(SONAVEL_SONGS_DIR, error)) {
    if (entry.path().extension() == ".md") continue;
    std::ifstream file(entry.path(), std::ios::binary);
    std::string song{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (song.starts_with("\xEF\xBB\xBF")) song.erase(0, 3);
    if (!IsValidUtf8(song)) continue;
    once += song + "\n\n";
  }
  std::string all;
  while (!once.empty() && all.size() < minBytes) all += once;
  return all;
}

}  // namespace sonavel::bench
