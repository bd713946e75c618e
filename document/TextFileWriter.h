#pragma once
// Saving song text: CR LF line ends, in the form the file was read in (UTF-8
// with or without its mark, UTF-16 with its mark and byte order, or
// Windows-1252), and a file that is replaced whole or not at all, keeping
// everything else about it.

#include <filesystem>
#include <string>
#include <string_view>

#include "document/FileFingerprint.h"
#include "document/SaveEncoder.h"
#include "document/TextFileReader.h"

namespace sonavel {

enum class WriteErrorKind {
  System,         // the reason says what failed
  NotWritable,    // the user may not write the file; nothing was tried
  ChangedOnDisk,  // the file no longer holds what was read; it was left alone
};

struct WriteError {
  WriteErrorKind kind = WriteErrorKind::System;
  std::string reason;  // one line
};

// The start of the names of the temporary files a save of `fileName` makes
// beside it; six random characters follow.
std::string TemporaryNamePrefix(const std::string& fileName);

// Replaces the file `path` names with `bytes` so that a failure at any moment
// leaves the old bytes or the new ones, and nothing else about the file
// changes: its inode, links, owner, group, mode and extended attributes. A
// file that is ours alone (one link, no link in the path's last step, our
// owner and a group we belong to, no extended attributes) is replaced by a
// synced temporary file renamed over it. Any other file is written in place,
// through the path as the kernel resolves it, while a synced copy of its old
// bytes waits beside it, to be put back when writing fails; that copy goes
// once the new bytes are synced. A file the user may not write (its write
// bits, even for root) is refused. When `expected` is given, the file is
// replaced only while it still holds those bytes. Our temporary files left
// by a save that was killed are removed once this one has succeeded.
bool WriteFileSafely(const std::filesystem::path& path, std::string_view bytes, WriteError& error,
                     const FileFingerprint* expected = nullptr);

// EncodeForSave and WriteFileSafely together. `*used` is set only when the
// file was written.
bool WriteSongFile(const std::filesystem::path& path, std::string_view utf8Text, SaveEncoding preferred,
                   SaveEncoding* used, WriteError& error, const FileFingerprint* expected = nullptr);

}  // namespace sonavel
