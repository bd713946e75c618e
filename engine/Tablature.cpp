#include "engine/Tablature.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

namespace sonavel {
namespace {

constexpr std::array<bool, 256> MakeTabSet() {
  std::array<bool, 256> set{};
  for (unsigned char c : std::string_view("-^()~|/\\hprbHPRB")) set[c] = true;
  return set;
}
constexpr std::array<bool, 256> kTabChars = MakeTabSet();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// atoi's reading (leading white space, optional sign, digits up to the first
// non-digit, no digits give 0), saturating instead of overflowing.
long long ReadLikeAtoi(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr long long kLimit = std::numeric_limits<long long>::max() / 20;
  long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

constexpr long long kOctave = 12;

long long Mod12(long long n) {
  const long long r = n % kOctave;
  return r < 0 ? r + kOctave : r;
}

// value + steps. When the true sum does not fit, the representable value
// nearest to it with the same remainder modulo 12 stands in for it, so that
// folding still lands on the fret the true sum would give.
long long AddKeepingOctave(long long value, long long steps) {
  using Limits = std::numeric_limits<long long>;
  const auto residue = [&] { return Mod12(Mod12(value) + Mod12(steps)); };
  if (steps > 0 && value > Limits::max() - steps) return Limits::max() - Mod12(Limits::max() - residue());
  if (steps < 0 && value < Limits::min() - steps) return Limits::min() + Mod12(residue() - Mod12(Limits::min()));
  return value + steps;
}

}  // namespace

bool IsTabChar(unsigned char c) { return kTabChars[c]; }

std::optional<TextSpan> NextFret(std::string_view text, long from, long e) {
  e = std::min(e, static_cast<long>(text.size()) - 1);
  if (from < 1) from = 1;
  for (long pos = from; pos < e; ++pos) {
    const char c = text[static_cast<std::size_t>(pos)];
    if (!IsDigit(c) || !IsTabChar(text[static_cast<std::size_t>(pos - 1)])) continue;
    long r = pos;
    while (IsDigit(text[static_cast<std::size_t>(r + 1)])) {
      ++r;
      if (r >= e) return std::nullopt;  // the run reaches the end of the range
    }
    if (r - pos <= 1 && IsTabChar(text[static_cast<std::size_t>(r + 1)])) return TextSpan{pos, r};
    pos = r;  // the loop's ++pos continues at r + 1
  }
  return std::nullopt;
}

Transposed TransposeTab(std::string_view text, long steps, long tabMiniValue, long tabMaxValue) {
  long long n = AddKeepingOctave(ReadLikeAtoi(text), steps);
  const long long lo = tabMiniValue;
  const long long hi = tabMaxValue;
  // Signs first: hi - lo cannot overflow once both are known to be >= 0.
  if (lo >= 0 && hi >= 0 && hi - lo >= kOctave - 1) {
    // Closed form of "add 12 while below, then subtract 12 while above",
    // computed on remainders so that no distance to a bound can overflow.
    if (n < lo) n = lo + Mod12(Mod12(n) - Mod12(lo));
    else if (n > hi) n = hi - Mod12(Mod12(hi) - Mod12(n));
  } else if (n < 0) {
    n = (n % kOctave) + kOctave;
  }
  std::string newText = std::to_string(n);
  const long delta = static_cast<long>(newText.size()) - static_cast<long>(text.size());
  return {std::move(newText), delta};
}

}  // namespace sonavel
