#pragma once
// Saving song text: CR LF line ends, in the form the file was read in (UTF-8
// with or without its mark, UTF-16 with its mark and byte order, or
// Windows-1252), and a file that is replaced whole or not at all.

#include <filesystem>
#include <string>
#include <string_view>

#include "document/TextFileReader.h"

namespace sonavel {

// The bytes to save for `utf8Text`. Every LF, CR LF and lone CR becomes
// CR LF. The preferred form is kept, except that Windows-1252 gives way to
// UTF-8 when its bytes would not read back as the same text, so that no
// character is lost. `*used` (when not null) tells which was chosen.
std::string EncodeForSave(std::string_view utf8Text, SaveEncoding preferred, SaveEncoding* used);

// Writes `bytes` to a temporary file beside `path`, syncs it and renames it
// over `path`, so that a failure leaves the old file as it was. An existing
// file keeps its permission bits; a symbolic link keeps pointing at the file
// it names, which is the one replaced. On failure `error` gets a one-line
// reason.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& error);

// EncodeForSave and WriteFileAtomically together. `*used` is set only when
// the file was written.
bool WriteSongFile(const std::filesystem::path& path, std::string_view utf8Text, SaveEncoding preferred,
                   SaveEncoding* used, std::string& error);

}  // namespace sonavel
