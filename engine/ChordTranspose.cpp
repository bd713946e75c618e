#include "engine/ChordTranspose.h"

#include "engine/NoteTable.h"

namespace sonavel {

Transposed TransposeChord(std::string_view text, long steps, int key, bool bIsBess) {
  const NoteReading root = ParseNote(text, bIsBess);
  if (root.pitch < 0 || !IsValidKey(key)) return {std::string(text), 0};

  const std::string_view name = TransposedNoteName(root.pitch, steps, key);
  Transposed result;
  result.newText.reserve(name.size() + text.size() - static_cast<std::size_t>(root.length));
  result.newText.append(name);
  result.newText.append(text.substr(static_cast<std::size_t>(root.length)));
  result.delta = static_cast<long>(result.newText.size()) - static_cast<long>(text.size());
  return result;
}

}  // namespace sonavel
