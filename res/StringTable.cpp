#include "res/StringTable.h"

#include <array>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
#ifndef QT_TRANSLATE_N_NOOP3
#define QT_TRANSLATE_N_NOOP3(context, text, comment) {text, comment}
#endif

namespace sonavel {
namespace {

struct Entry {
  int id;
  const char* text;
  const char* disambiguation = nullptr;
};

// The text and its disambiguation, as lupdate reads them.
struct Noop3 {
  const char* text;
  const char* disambiguation;
};
constexpr Entry MakeEntry(int id, Noop3 noop) { return Entry{id, noop.text, noop.disambiguation}; }

// lupdate reads the QT_TRANSLATE_NOOP marks of this table.
constexpr std::array kEntries = {
    Entry{IDS_APP_TITLE, QT_TRANSLATE_NOOP("StringTable", "Sonavel")},
    Entry{IDS_IDLE_PROMPT, QT_TRANSLATE_NOOP("StringTable", "Ready")},
    Entry{IDS_INDICATOR_CAPS, QT_TRANSLATE_NOOP("StringTable", "CAP")},
    Entry{IDS_INDICATOR_NUM, QT_TRANSLATE_NOOP("StringTable", "NUM")},
    Entry{IDS_INDICATOR_SCRL, QT_TRANSLATE_NOOP("StringTable", "SCRL")},
    // The Swedish texts of 60000 and 60002 differ from the English ones: the
    // maker's main page, and the Swedish ReadMe file.
    Entry{IDS_MAKER_WEB_PAGE, QT_TRANSLATE_NOOP("StringTable", "URL:https://quillon-works.example/en/sonavel/")},
    Entry{IDS_MAKER_MAIL, QT_TRANSLATE_NOOP("StringTable", "mailto:sonavel@quillon-works.example")},
    Entry{IDS_README_FILE, QT_TRANSLATE_NOOP("StringTable", "ReadMe (english).txt")},
    Entry{IDS_SAMPLE_CHORDS, QT_TRANSLATE_NOOP("StringTable", "Chords:")},
    Entry{IDS_SAMPLE_TABS, QT_TRANSLATE_NOOP("StringTable", "Tabs:")},
    Entry{IDS_CRD_DOCUMENT, QT_TRANSLATE_NOOP("StringTable", "Chord Document")},
    Entry{IDS_CHO_DOCUMENT, QT_TRANSLATE_NOOP("StringTable", "Chord Document")},
    Entry{IDS_CHOPRO_DOCUMENT, QT_TRANSLATE_NOOP("StringTable", "Chord Pro Document")},
    Entry{IDS_TAB_DOCUMENT, QT_TRANSLATE_NOOP("StringTable", "Tablature Document")},
    Entry{IDS_SAMPLE_ORIGINAL, QT_TRANSLATE_NOOP("StringTable", "Original:\n")},
    Entry{IDS_SAMPLE_TRANSPOSED, QT_TRANSLATE_NOOP("StringTable", "\n\nTransposed:\n")},
    // Numerus texts: %n takes the count; the translation files give the
    // singular and plural forms (English ones too).
    MakeEntry(IDS_TRANSPOSED_COUNTS, QT_TRANSLATE_N_NOOP3("StringTable", "%n chord(s) and %1 transposed.",
                                                        "60202: %n is the number of chords, %1 message 60204")),
    MakeEntry(IDS_TRANSPOSED_TABLATURES,
              QT_TRANSLATE_N_NOOP3("StringTable", "%n tablature(s)", "60204: the number of tablatures in 60202")),
    Entry{IDS_NOTHING_TRANSPOSED,
          QT_TRANSLATE_NOOP("StringTable",
                            "No chords or tablatures were transposed. To make transposing possible make sure "
                            "that chords and tablatures are colored (look in the Transpose menu).")},
    Entry{IDS_README_FAILED, QT_TRANSLATE_NOOP("StringTable", "Couldn't open ReadMe file.")},
    Entry{IDS_TUNER_FAILED,
          QT_TRANSLATE_NOOP("StringTable",
                            "Couldn't open \"gtuner.mid\". Make sure this file is in same directory as Sonavel.")},
    Entry{IDS_OPEN_FILTERS,
          QT_TRANSLATE_NOOP("StringTable",
                            "All readable files|*.crd; *.cho; *.chopro; *.tab; *.txt|All music files|*.crd; *.cho; "
                            "*.chopro; *.tab;|Chord files|*.crd;*.cho;|Chord pro files|*.chopro;|Tablature "
                            "files|*.tab;|Text documents|*.txt|All files (*.*)|*.*||\n")},
    Entry{IDS_SAVE_FILTERS,
          QT_TRANSLATE_NOOP("StringTable",
                            "Chord file|*.crd;*.cho;|Chord pro file|*.chopro;|Tablature file|*.tab;|Text "
                            "document|*.txt||\n")},
    Entry{IDS_DEFAULT_EXTENSION, QT_TRANSLATE_NOOP("StringTable", "crd")},
    Entry{IDS_NO_CHORD_FOUND, QT_TRANSLATE_NOOP("StringTable", "No chord was found.")},
    Entry{IDS_CANNOT_ASSOCIATE,
          QT_TRANSLATE_NOOP("StringTable",
                            "It wasn't possible to associate file types with Sonavel. Make sure you have access "
                            "rights to do this.")},
    Entry{IDS_ASSOCIATED,
          QT_TRANSLATE_NOOP("StringTable", "The selected file types have been associated with Sonavel.")},
};

}  // namespace

std::string_view EnglishString(int id) {
  for (const Entry& e : kEntries) {
    if (e.id == id) return e.text;
  }
  return {};
}

const char* Disambiguation(int id) {
  for (const Entry& e : kEntries) {
    if (e.id == id) return e.disambiguation;
  }
  return nullptr;
}

std::string TransposedCountsInEnglish(long chords, long tabs) {
  const auto counted = [](long n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
  };
  return counted(chords, "chord") + " and " + counted(tabs, "tablature") + " transposed.";
}

}  // namespace sonavel
