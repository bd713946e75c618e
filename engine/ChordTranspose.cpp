#include "engine/ChordTranspose.h"

#include "engine/NoteTable.h"

namespace sonavel {

long ChordRootLength(std::string_view text, int key, bool bIsBess) {
  if (!IsValidKey(key)) return 0;
  const NoteReading root = ParseNote(text, bIsBess);
  return root.pitch < 0 ? 0 : root.length;
}

Transposed TransposeChord(std::string_view text, long steps, int key, bool bIsBess) {
  const NoteReading root = ParseNote(text, bIsBess);
  if (root.pitch < 0 || !IsValidKey(key)) return {std::string(text), 0};

  // Steps may be anything a user typed; reduce first so nothing overflows.
  const long shift = steps % kSemitones;
  long column = (root.pitch + shift - keyRoots()[static_cast<std::size_t>(key)]) % kSemitones;
  if (column < 0) column += kSemitones;

  const std::string_view name = chordTable()[static_cast<std::size_t>(key)][static_cast<std::size_t>(column)];
  Transposed result;
  result.newText.reserve(name.size() + text.size() - static_cast<std::size_t>(root.length));
  result.newText.append(name);
  result.newText.append(text.substr(static_cast<std::size_t>(root.length)));
  result.delta = static_cast<long>(result.newText.size()) - static_cast<long>(text.size());
  return result;
}

}  // namespace sonavel
