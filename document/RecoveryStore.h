#pragma once
// Unsaved changes kept on disk while a song is edited, so that a crash or a
// kill loses at most the last few seconds of typing. One file per song, in a
// folder only the user may enter; each says which file the text belongs to
// and what that file held when it was read, so that the text is never
// offered over a file that has changed since.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "document/FileFingerprint.h"

namespace sonavel {

struct RecoveryEntry {
  std::string originalPath;  // empty for a song never saved
  std::string title;         // the name the song had ("Chord1" or the file's name)
  // What the original held when it was read or last saved; none for a song
  // never saved.
  std::optional<FileFingerprint> original;
  std::string text;  // UTF-8, LF between lines
};

class RecoveryStore {
 public:
  explicit RecoveryStore(std::filesystem::path folder);

  // $XDG_STATE_HOME/sonavel, or ~/.local/state/sonavel when it is unset.
  static std::filesystem::path DefaultFolder();

  // A name no other song of this or an earlier run has.
  static std::string NewName();

  const std::filesystem::path& Folder() const { return m_folder; }

  // Writes the entry under `name`, whole or not at all, readable by the user
  // alone. False, with the reason in `error`, when that fails.
  bool Write(const std::string& name, const RecoveryEntry& entry, std::string& error) const;
  void Remove(const std::string& name) const;

  struct Found {
    std::string name;
    RecoveryEntry entry;
  };
  // The entries worth offering, oldest first. An entry whose original has
  // changed or gone since is deleted and said so in `notes`; a file that is
  // not an entry is left alone and said so too.
  std::vector<Found> List(std::vector<std::string>& notes) const;

 private:
  std::filesystem::path m_folder;
};

// The bytes of a recovery file and back; nothing for bytes that are not one.
std::string SerializeRecovery(const RecoveryEntry& entry);
std::optional<RecoveryEntry> ParseRecovery(const std::string& bytes);

}  // namespace sonavel
