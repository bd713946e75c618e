#pragma once
// Recovery of a damaged settings database: the file is copied aside, with its
// journals, to "<file>.corrupt-<local time>" and then emptied in place, so
// that the user can still recover it and no data is destroyed.

#include <filesystem>
#include <functional>

#include "document/SqliteHandles.h"

namespace sonavel {

// A file that does not even start like a database must not be opened by
// SQLite before it is copied: SQLite would delete a write-ahead log it finds
// beside it, and play a rollback journal into it. An empty file is a
// database that has not been written yet; a missing or unreadable file is
// left for SQLite to report.
bool NotADatabase(const std::filesystem::path& file);

// Tells whether `file` is corrupt. It may leave the read-write connection it
// opened in `db`, which is then used to empty the file once it is copied.
using CorruptionCheck = std::function<bool(const std::filesystem::path& file, DatabaseHandle& db)>;

// Copies a corrupt file aside and empties it, under a lock on its directory
// that serialises the recovery between processes. `stillCorrupt` runs under
// that lock, so that a file another process has recovered meanwhile is left
// alone. True when the file may be opened again as a store; false when it is
// left as it is.
bool SetAsideIfStillCorrupt(const std::filesystem::path& file,
                            const CorruptionCheck& stillCorrupt);

}  // namespace sonavel
