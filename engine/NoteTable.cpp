#include "engine/NoteTable.h"

namespace sonavel {
namespace {

// All 252 names, row after row, each followed by one space. The rows are
// used exactly as listed; they are not derived from key signatures.
constexpr std::string_view kNoteNames =
    "C C# D D# E F F# G G# A A# B "
    "D D# E F F# G G# A A# B C C# "
    "E F F# G G# A A# B C C# D D# "
    "F Gb G Ab A Bb B C Db D Eb E "
    "G G# A A# B C C# D D# E F F# "
    "A A# B C C# D D# E F F# G G# "
    "B C C# D D# E F F# G G# A A# "
    "C# D D# E E# F# G G# A A# B B# "
    "D# Dx E# F# Fx G# Gx A# Ax B# C# Cx "
    "E# F# Fx G# Gx A# Ax B# C# Cx D# Dx "
    "F# G G# A A# B C C# D D# E F "
    "G# Gx A# Ax B# C# Cx D# Dx E# F# Fx "
    "A# Ax B# C# Cx D# Dx E# F# Fx G# Gx "
    "B# C# Cx D# Dx E# F# Fx G# Gx A# Ax "
    "Cb C Db D Eb E F Gb G Ab A Bb "
    "Db D Eb E F Gb G Ab A Bb B C "
    "Eb E F Gb G Ab A Bb B C Db D "
    "Fb Gbb Gb Abb Ab Bbb Bb Cb Dbb Db Ebb Eb "
    "Gb G Ab A Bb Cb C Db D Eb E F "
    "Ab A Bb B C Db D Eb E F Gb G "
    "Bb B C Db D Eb E F Gb G Ab A ";

struct Tables {
  ChordTableRows names{};
  KeyRootList roots{};
};

Tables Build() {
  Tables t;
  std::size_t pos = 0;
  for (int k = 0; k < kKeyCount; ++k) {
    for (int j = 0; j < kSemitones; ++j) {
      const std::size_t space = kNoteNames.find(' ', pos + 1);
      t.names[k][j] = kNoteNames.substr(pos, space - pos);
      pos = space + 1;
    }
    t.roots[k] = ParseNote(t.names[k][0], false).pitch;
  }
  return t;
}

const Tables& TheTables() {
  static const Tables tables = Build();
  return tables;
}

}  // namespace

void BuildChordTable() { (void)TheTables(); }
const ChordTableRows& chordTable() { return TheTables().names; }
const KeyRootList& keyRoots() { return TheTables().roots; }

std::string_view TransposedNoteName(int pitch, long steps, int key) {
  const Tables& tables = TheTables();
  // Steps may be anything a user typed; reduce first so nothing overflows.
  const long shift = steps % kSemitones;
  long column = (pitch + shift - tables.roots[static_cast<std::size_t>(key)]) % kSemitones;
  if (column < 0) column += kSemitones;
  return tables.names[static_cast<std::size_t>(key)][static_cast<std::size_t>(column)];
}

NoteReading ParseNote(std::string_view text, bool bIsBess) {
  if (text.empty()) return {};
  int pitch;
  switch (text[0]) {
    case 'C': pitch = 0; break;
    case 'D': pitch = 2; break;
    case 'E': pitch = 4; break;
    case 'F': pitch = 5; break;
    case 'G': pitch = 7; break;
    case 'A': pitch = 9; break;
    case 'B': pitch = bIsBess ? 10 : 11; break;
    case 'H': pitch = 11; break;
    default: return {};
  }
  // Accumulate modulo 12 as we go so that any number of accidentals is safe.
  int length = 1;
  for (; length < static_cast<int>(text.size()); ++length) {
    const char c = text[static_cast<std::size_t>(length)];
    if (c == '#') pitch += 1;
    else if (c == 'b') pitch += 11;
    else if (c == 'x') pitch += 2;
    else break;
    pitch %= kSemitones;
  }
  return {pitch % kSemitones, length};
}

}  // namespace sonavel
