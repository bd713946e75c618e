// Rewriting the root of a chord.

#include "engine/ChordTranspose.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "engine/NoteTable.h"

namespace sonavel {
namespace {

// Every spelling of every root, in every key, by steps up to both ends of
// long: the new root is the key's name for the moved pitch (a row names each
// pitch once, so this fixes the output), the suffix stays character for
// character.
TEST(TransposeChord, WritesTheKeysNameForTheMovedRootAndKeepsTheSuffix) {
  BuildChordTable();
  const char* const suffixes[] = {"", "m7", "maj7*", "/G", "mH", "\xA0(x)"};
  const char* const roots[] = {"C",  "C#", "Db", "D", "Eb", "E", "Fb", "E#", "F",   "Gb", "G",
                               "Ab", "A",  "Bb", "B", "Cb", "H", "Hb", "Fx", "Ebb", "B#"};
  for (int key = 0; key < kKeyCount; ++key) {
    const auto& row = chordTable()[key];
    for (const char* root : roots) {
      for (const bool bIsBess : {false, true}) {
        const int pitch = ParseNote(root, bIsBess).pitch;
        for (const long steps : {-13L, -7L, 0L, 5L, 12L, LONG_MAX, LONG_MIN}) {
          for (const std::string suffix : suffixes) {
            const std::string text = root + suffix;
            const Transposed result = TransposeChord(text, steps, key, bIsBess);
            const std::string newRoot = result.newText.substr(0, result.newText.size() - suffix.size());
            SCOPED_TRACE(text + " by " + std::to_string(steps) + " in key " + std::to_string(key) +
                         (bIsBess ? " (B as Bb)" : ""));
            EXPECT_EQ(result.newText.substr(newRoot.size()), suffix);
            EXPECT_NE(std::find(row.begin(), row.end(), newRoot), row.end()) << newRoot;
            EXPECT_EQ(ParseNote(newRoot, false).pitch, ((pitch + steps % 12) % 12 + 12) % 12);
            EXPECT_EQ(result.delta, static_cast<long>(result.newText.size()) - static_cast<long>(text.size()));
          }
        }
      }
    }
  }
}

// No root, or no such key: the run comes back as it is.
TEST(TransposeChord, LeavesARunWithoutARootOrAKeyAlone) {
  BuildChordTable();
  const std::pair<const char*, int> rows[] = {{"7", 4}, {"am", 4}, {"", 4}, {"Am7", -1}, {"Am7", kKeyCount}};
  for (const auto& [text, key] : rows) {
    const Transposed result = TransposeChord(text, 3, key, false);
    EXPECT_EQ(result.newText, text) << text << " in key " << key;
    EXPECT_EQ(result.delta, 0) << text << " in key " << key;
  }
}

}  // namespace
}  // namespace sonavel
