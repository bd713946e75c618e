#pragma once
// What the Find and Replace dialogs ask for.

#include <QString>

struct FindOptions {
  QString what;
  QString replacement;
  bool matchCase = false;
  bool wholeWord = false;
  bool up = false;         // towards the start of the song
  bool wrapAround = true;  // on from the other end when an end is reached

  friend bool operator==(const FindOptions&, const FindOptions&) = default;
};
