#pragma once
// The program's string table: every message text under its number. The
// English text is the source; the editor translates it through Qt
// (context "StringTable"), the command-line tool prints it as it stands.

#include <string>
#include <string_view>

namespace sonavel {

enum StringId : int {
  IDS_APP_TITLE = 57344,               // "Sonavel"
  IDS_IDLE_PROMPT = 57345,             // "Ready"
  IDS_INDICATOR_CAPS = 59137,          // "CAP"
  IDS_INDICATOR_NUM = 59138,           // "NUM"
  IDS_INDICATOR_SCRL = 59139,          // "SCRL"
  IDS_MAKER_WEB_PAGE = 60000,          // "URL:" and the maker's web page
  IDS_MAKER_MAIL = 60001,              // "mailto:" and the maker's mail address
  IDS_README_FILE = 60002,             // the ReadMe file's name, one per language
  IDS_SAMPLE_CHORDS = 60100,           // "Chords:", the settings sample's first heading
  IDS_SAMPLE_TABS = 60101,             // "Tabs:", its second
  IDS_CRD_DOCUMENT = 60110,            // file-type descriptions
  IDS_CHO_DOCUMENT = 60111,
  IDS_CHOPRO_DOCUMENT = 60112,
  IDS_TAB_DOCUMENT = 60113,
  IDS_SAMPLE_ORIGINAL = 60200,         // "Original:\n"
  IDS_SAMPLE_TRANSPOSED = 60201,       // "\n\nTransposed:\n"
  IDS_TRANSPOSED_COUNTS = 60202,       // "%n chord(s) and %1 transposed.", %1 from the next
  IDS_TRANSPOSED_TABLATURES = 60204,   // "%n tablature(s)"
  IDS_NOTHING_TRANSPOSED = 60203,
  IDS_README_FAILED = 60300,           // "Couldn't open ReadMe file."
  IDS_TUNER_FAILED = 60301,            // "Couldn't open "gtuner.mid". ..."
  IDS_OPEN_FILTERS = 60310,            // open dialog filters, "|" separated
  IDS_SAVE_FILTERS = 60311,            // save dialog filters
  IDS_DEFAULT_EXTENSION = 60312,       // "crd"
  IDS_NO_CHORD_FOUND = 60330,          // "No chord was found."
  IDS_CANNOT_ASSOCIATE = 60400,
  IDS_ASSOCIATED = 60401,
};

inline constexpr const char* kStringTableContext = "StringTable";

// The English text of a string, or an empty view for an unknown number.
std::string_view EnglishString(int id);
// What tells a text apart from the same text elsewhere for the translator
// (null for most).
const char* Disambiguation(int id);

// "1 chord and 3 tablatures transposed.": message 60202 in English, each
// count with its own singular or plural.
std::string TransposedCountsInEnglish(long chords, long tabs);


}  // namespace sonavel
