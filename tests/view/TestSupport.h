#pragma once
// Helpers for the view tests: colour masks and song files.

#include <string>
#include <vector>

#include "document/DocumentOptions.h"
#include "tests/support/ColorMask.h"
#include "view/MemoryTextControl.h"

namespace sonavel::test {

// Every song file beside the project, as UTF-8 text the way the editor reads
// it (Windows-1252 files decoded).
struct SongFile {
  std::string name;
  std::string text;
};
const std::vector<SongFile>& Songs();

}  // namespace sonavel::test
