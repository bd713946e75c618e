#pragma once
// Find and replace in a song, as a text editor's Find and Replace dialogs
// ask for them. A replacement is plain text in the text colour, coloured
// as pasted text is when autoColor is on, and Replace All is one step of
// the undo history.

#include "dialogs/FindOptions.h"

class CSonavelView;

class CTextSearch {
 public:
  // Selects the next match after (or, up, before) the selection. False,
  // with the selection left alone, when there is none.
  static bool FindNext(CSonavelView& view, const FindOptions& options);
  // Replaces the selection when it is a match, then finds the next one.
  // False when nothing was replaced and nothing more was found.
  static bool Replace(CSonavelView& view, const FindOptions& options);
  // Replaces every match in the song; gives how many.
  static int ReplaceAll(CSonavelView& view, const FindOptions& options);
};
