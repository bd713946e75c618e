// A stand-in for a running editor that keeps changing one setting, for
// tests/reliability.sh: two of these saving at once into the user's store
// must lose neither one's last change nor damage the database.
//
//   settings_saver steps|key COUNT   loads once, then changes the field and saves, COUNT times
//   settings_saver show STORE        prints "steps key integrity" of STORE

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/Settings.h"

namespace {

// The value the n-th save writes; the last of 500 is 6 for steps and 17 for key.
int ValueOf(const std::string& field, int n) { return field == "steps" ? n % 23 - 11 : n % 21; }

std::string IntegrityOf(const char* path) {
  sqlite3* db = nullptr;
  std::string result = "unreadable";
  if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW) {
      result = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    }
    sqlite3_finalize(check);
  }
  sqlite3_close(db);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "show" && argc == 3) {
    const sonavel::CSettings settings;
    std::printf("%d %d %s\n", settings.steps, settings.key, IntegrityOf(argv[2]).c_str());
    return 0;
  }
  if ((command != "steps" && command != "key") || argc != 3) {
    std::fprintf(stderr, "usage: settings_saver steps|key COUNT | settings_saver show STORE\n");
    return 2;
  }
  // Loaded once, as an editor loads at its start and saves as it goes: a
  // save that wrote back every field would put back the other program's
  // field as this one found it.
  sonavel::CSettings settings;
  const int count = std::atoi(argv[2]);
  for (int n = 1; n <= count; ++n) {
    (command == "steps" ? settings.steps : settings.key) = ValueOf(command, n);
    settings.Save();
  }
  return 0;
}
