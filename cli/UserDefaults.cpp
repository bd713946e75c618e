#include "cli/UserDefaults.h"

#include "document/Settings.h"

namespace sonavel::cli {

DocumentOptions LoadUserDefaults() {
  // Read-only: the tool takes the user's choices as defaults but must never
  // create or change anything in the store.
  SettingsScope scope(SettingsPersistence::ReadOnly);
  return DocumentOptions::FromSettings(scope.Settings());
}

}  // namespace sonavel::cli
