#pragma once
// Note names of the 21 keys and the reading of a note name.

#include <array>
#include <string_view>

namespace sonavel {

inline constexpr int kKeyCount = 21;
inline constexpr int kSemitones = 12;

using ChordTableRows = std::array<std::array<std::string_view, kSemitones>, kKeyCount>;
using KeyRootList = std::array<int, kKeyCount>;

// Builds the table of note names from its one constant text. Safe to call
// more than once; the table is built on the first call only.
void BuildChordTable();

// chordTable()[k][j]: the name, as written in key k, of the note j semitones
// above the key's first note. keyRoots()[k]: pitch class of chordTable()[k][0].
const ChordTableRows& chordTable();
const KeyRootList& keyRoots();

// The name, in row `key` (a valid key), of the note `steps` semitones from
// pitch class `pitch`.
std::string_view TransposedNoteName(int pitch, long steps, int key);

inline constexpr bool IsValidKey(long key) { return key >= 0 && key < kKeyCount; }

struct NoteReading {
  int pitch = -1;   // 0..11, or -1 when the text does not begin with a note letter
  int length = 0;   // letter plus accidentals
};

// Reads a note name (a letter A-H and any number of #, b, x) from the start
// of text. With bIsBess the letter B means B flat and H means B natural.
NoteReading ParseNote(std::string_view text, bool bIsBess);

}  // namespace sonavel
