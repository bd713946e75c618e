#pragma once
// The record of every user option and its persistence in the settings
// store, under HKEY_CURRENT_USER\Software\Quillon Works\Sonavel\Settings
// and its subkeys "main", "misc" and "Transposing".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "document/ColorRef.h"
#include "document/RegistryKey.h"
#include "engine/TransposeOptions.h"

namespace sonavel {

class SettingsStore;

enum class SettingsPersistence {
  // Creates the settings keys when reading and saves when destroyed: the
  // editor's record.
  LoadAndSave,
  // Reads only keys that exist and never writes: for programs that use the
  // user's settings as defaults but must leave them alone.
  ReadOnly,
};

// Every user option, each field named after its stored value. The values
// alone, so that they can be compared and handed around without a store.
// Zero until a CSettings loads them; the defaults live in one table.
struct SettingsValues {
  ColorRef backgroundcolor{};
  ColorRef textcolor{};
  ColorRef chordcolor{};
  ColorRef tabcolor{};
  bool useSystemBackground{};
  std::string font{};
  bool fontBold{};
  bool fontItalic{};
  bool wordWrap{};
  std::int32_t fontSize{};
  std::int32_t steps{};
  std::int32_t key{};
  bool bIsBess{};
  bool chordInBrackets{};
  bool transposeChords{};
  bool transposeTabs{};
  std::int32_t tabMiniValue{};
  std::int32_t tabMaxValue{};
  bool quickExit{};
  bool autoColor{};
  bool autoColorOnOpen{};

  friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// The options with their persistence. Loading checks bounds value by value
// and never compares one field with another; a value that is missing or
// cannot be read leaves its field at the default. Nothing here ever reports
// a failure: the store failing means the defaults.
class CSettings : public SettingsValues {
 public:
  // Loads from the per-user store.
  CSettings();
  explicit CSettings(std::shared_ptr<SettingsStore> store,
                     SettingsPersistence persistence = SettingsPersistence::LoadAndSave);
  // Copies every field, the key and the persistence; does not load.
  CSettings(const CSettings&) = default;
  // Copies every field and the key, but keeps this record's persistence:
  // assigning an edited working copy to theSettings() must not stop it
  // from saving at exit. Every field the assignment changes counts as
  // changed here, even when it comes back to the stored value later.
  CSettings& operator=(const CSettings& other);
  // Saves (unless read-only).
  ~CSettings();

  // A copy that never saves, for a dialog to edit; assigning it back
  // applies the edits. A saving copy would write whatever it holds when it
  // is destroyed, cancelled edits included.
  CSettings WorkingCopy() const;

  void SetDefaults();
  // Defaults first, then every stored value that exists and is in bounds.
  void Load();
  // Writes the fields this record changed since it last loaded or saved,
  // and puts right stored values that are missing or that Load could not
  // take as they are. Another running instance may have saved the other
  // fields since, and its changes stay. Does nothing when read-only.
  void Save();
  // Puts all four colours back to their defaults when two of the three
  // marking colours are equal, since the marks could no longer be told
  // apart. The background marks nothing and takes no part.
  void ValidateColors();

  // The seven transposing fields as the engine takes them.
  TransposeOptions TransposeDefaults() const;
  void SetTransposeDefaults(const TransposeOptions& options);

  const CRegistryKey& SettingsKey() const { return m_settingsKey; }
  SettingsPersistence Persistence() const { return m_persistence; }

 private:
  bool SelectSubkey(std::string_view subkey);

  CRegistryKey m_settingsKey;
  SettingsPersistence m_persistence;
  SettingsValues m_stored;        // as last loaded or saved
  std::uint32_t m_assigned = 0;  // one bit per setting an assignment changed
};

// The program-wide record. main() creates one SettingsScope before its main
// work; the scope's record is loaded then and saved when main returns. Other
// ways of ending the process (exit(), a crash) save nothing. Outside any
// scope this gives a record of defaults that is bound to no store, so code
// run without a scope (tests) never touches the user's settings.
CSettings& theSettings();

// Installs the record that theSettings() gives for its lifetime, restoring
// the previous one afterwards.
class SettingsScope {
 public:
  // The per-user store. The command-line tool passes ReadOnly.
  explicit SettingsScope(SettingsPersistence persistence = SettingsPersistence::LoadAndSave);
  SettingsScope(std::shared_ptr<SettingsStore> store, SettingsPersistence persistence);
  ~SettingsScope();
  SettingsScope(const SettingsScope&) = delete;
  SettingsScope& operator=(const SettingsScope&) = delete;

  CSettings& Settings() { return m_settings; }

 private:
  CSettings m_settings;
  CSettings* m_previous;
};

}  // namespace sonavel
