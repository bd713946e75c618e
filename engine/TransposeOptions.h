#pragma once

namespace sonavel {

// What a transposition does. One copy per document; the program-wide
// defaults live in the settings record.
struct TransposeOptions {
  int steps = 1;               // semitones, positive is up
  int key = 0;                 // row of chordTable() the results are written with
  bool bIsBess = false;        // the letter B means B flat; H is always B natural
  bool transposeChords = true;
  bool transposeTabs = true;
  int tabMiniValue = 0;        // frets are folded into [tabMiniValue, tabMaxValue]
  int tabMaxValue = 15;

  friend bool operator==(const TransposeOptions&, const TransposeOptions&) = default;
};

}  // namespace sonavel
