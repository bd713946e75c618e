#pragma once
// Helpers for the view tests: colour masks and song files.

#include <string>
#include <vector>

#include "document/DocumentOptions.h"
#include "view/MemoryTextControl.h"

namespace sonavel::test {

// One letter per position: 'c' chord colour, 't' tab colour, '.' text
// colour, '?' anything else.
std::string ColorMask(const TextControl& control, const DocumentOptions& options);

// Every song file beside the project, as UTF-8 text the way the editor reads
// it (Windows-1252 files decoded).
struct SongFile {
  std::string name;
  std::string text;
};
const std::vector<SongFile>& Songs();

}  // namespace sonavel::test
