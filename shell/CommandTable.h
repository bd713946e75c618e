#pragma once
// Every command of the program in one table: its identifier, menu, texts,
// keys and toolbar image. The menus, the shortcuts, the toolbar, the status
// bar prompts and the tests are all built from it, so a command is added in
// one place. Texts are English, translated in the contexts below.

#include <span>

namespace commands {

enum Id : int {
  kQuickExit = 32768,
  kColorize = 32771,
  kDecolorize = 32772,
  kQuickTranspose = 32773,
  kTranspose = 32774,
  kChordInBrackets = 32775,
  kTransposeChords = 32779,
  kTransposeTabs = 32780,
  kOpenReadMe = 32783,
  kGuitarTuner = 32786,
  kWordWrap = 32787,
  kFindNextChord = 32788,
  kSettings = 32791,
  kNextWindow = 32801,
  kPreviousWindow = 32802,
  kNew = 57600,
  kOpen = 57601,
  kClose = 57602,
  kSave = 57603,
  kSaveAs = 57604,
  kPrintSetup = 57606,
  kPrint = 57607,
  kPrintDirect = 57608,
  kPrintPreview = 57609,
  kRecentFile1 = 57616,
  kRecentFile4 = 57619,
  kCopy = 57634,
  kCut = 57635,
  kFind = 57636,
  kPaste = 57637,
  kFindNext = 57640,
  kReplace = 57641,
  kSelectAll = 57642,
  kUndo = 57643,
  kRedo = 57644,
  kArrangeIcons = 57649,
  kCascade = 57650,
  kTile = 57651,
  kAbout = 57664,
  kExit = 57665,
  kToolbar = 59392,
  kStatusBar = 59393,
};

enum class Menu { None, File, Edit, View, Transpose, Tools, Window, Help };

struct Command {
  int id;
  Menu menu;
  const char* text;    // the menu item, with its mnemonic
  const char* prompt;  // the status bar's fly-by prompt
  const char* tip;     // the tooltip, or null for none
  const char* keys;    // in portable text, separated by "; "
  const char* icon;    // the toolbar image, or null
  bool checkable = false;
  bool withoutDocument = false;  // also in the menus shown while no song is open
};

std::span<const Command> All();
const Command* Find(int id);

// The menus in their order, each with its items: a command identifier, a
// separator (0) or the place of a generated list. Documents: menu 129 of
// the resources, shown while a song is open; none: menu 128.
inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1;
inline constexpr int kWindowList = -2;
struct MenuLayout {
  Menu menu;
  const char* title;
  std::span<const int> items;
};
std::span<const MenuLayout> MenusWithDocument();
std::span<const MenuLayout> MenusWithoutDocument();

// The toolbar's entries, 0 for a separator.
std::span<const int> Toolbar();

// The contexts of menu items and titles, prompts and tooltips, and the
// prompts of the recent-file and window-list items.
inline constexpr const char* kTextContext = "Commands";
inline constexpr const char* kPromptContext = "CommandPrompts";
inline constexpr const char* kTipContext = "CommandTips";
extern const char* const kRecentFilePrompt;
extern const char* const kWindowListPrompt;

}  // namespace commands
