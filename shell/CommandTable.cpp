#include "shell/CommandTable.h"

#include <QtGlobal>
#include <algorithm>
#include <array>

namespace commands {
namespace {

// Menu items, prompts and tooltips are translated in contexts of their own,
// since a translation may word the same English differently in each.
constexpr std::array kCommands = {
    Command{kNew, Menu::File, QT_TRANSLATE_NOOP("Commands", "&New"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Create a new document"), QT_TRANSLATE_NOOP("CommandTips", "New"),
            "Ctrl+N", "new", false, true},
    Command{kOpen, Menu::File, QT_TRANSLATE_NOOP("Commands", "&Open..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Open an existing document"), QT_TRANSLATE_NOOP("CommandTips", "Open"),
            "Ctrl+O", "open", false, true},
    Command{kClose, Menu::File, QT_TRANSLATE_NOOP("Commands", "&Close"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Close the active document"), QT_TRANSLATE_NOOP("CommandTips", "Close"),
            "Ctrl+F4", nullptr},
    Command{kSave, Menu::File, QT_TRANSLATE_NOOP("Commands", "&Save"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Save the active document"), QT_TRANSLATE_NOOP("CommandTips", "Save"),
            "Ctrl+S", "save"},
    Command{kSaveAs, Menu::File, QT_TRANSLATE_NOOP("Commands", "Save &As..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Save the active document with a new name"),
            QT_TRANSLATE_NOOP("CommandTips", "Save As"), "Ctrl+Shift+S", nullptr},
    Command{kPrint, Menu::File, QT_TRANSLATE_NOOP("Commands", "&Print..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Print the active document"), QT_TRANSLATE_NOOP("CommandTips", "Print"),
            "Ctrl+P", "print"},
    Command{kPrintDirect, Menu::None, QT_TRANSLATE_NOOP("Commands", "Print Direct"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Print the active document using current options"),
            QT_TRANSLATE_NOOP("CommandTips", "Quick Print"), "", nullptr},
    Command{kPrintPreview, Menu::File, QT_TRANSLATE_NOOP("Commands", "Print Pre&view"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Display full pages"),
            QT_TRANSLATE_NOOP("CommandTips", "Print Preview"), "", nullptr},
    Command{kPrintSetup, Menu::File, QT_TRANSLATE_NOOP("Commands", "P&rint Setup..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Change the printer and printing options"),
            QT_TRANSLATE_NOOP("CommandTips", "Page Setup"), "", nullptr, false, true},
    Command{kExit, Menu::File, QT_TRANSLATE_NOOP("Commands", "E&xit"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Quit the application; prompts to save documents"),
            QT_TRANSLATE_NOOP("CommandTips", "Exit"), "Ctrl+Q", nullptr, false, true},
    Command{kUndo, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "&Undo"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Undo the last action"), QT_TRANSLATE_NOOP("CommandTips", "Undo"),
            "Ctrl+Z; Alt+Backspace", nullptr},
    Command{kRedo, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "&Redo"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Redo the previously undone action"),
            QT_TRANSLATE_NOOP("CommandTips", "Redo"), "Ctrl+Y; Ctrl+Shift+Z", nullptr},
    Command{kCut, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "Cu&t"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Cut the selection and put it on the Clipboard"),
            QT_TRANSLATE_NOOP("CommandTips", "Cut"), "Ctrl+X; Shift+Del", "cut"},
    Command{kCopy, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "&Copy"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Copy the selection and put it on the Clipboard"),
            QT_TRANSLATE_NOOP("CommandTips", "Copy"), "Ctrl+C; Ctrl+Ins", "copy"},
    Command{kPaste, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "&Paste"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Insert Clipboard contents"), QT_TRANSLATE_NOOP("CommandTips", "Paste"),
            "Ctrl+V; Shift+Ins", "paste"},
    Command{kSelectAll, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "Select A&ll"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Select the entire document"),
            QT_TRANSLATE_NOOP("CommandTips", "Select All"), "Ctrl+A", nullptr},
    Command{kFind, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "&Find..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Find the specified text"), QT_TRANSLATE_NOOP("CommandTips", "Find"),
            "Ctrl+F", nullptr},
    Command{kFindNext, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "F&ind Next"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Find the next occurrence of the specified text"),
            QT_TRANSLATE_NOOP("CommandTips", "Find Next"), "F3", nullptr},
    Command{kReplace, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "R&eplace..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Replace specific text with different text"),
            QT_TRANSLATE_NOOP("CommandTips", "Replace"), "Ctrl+H", nullptr},
    Command{kWordWrap, Menu::Edit, QT_TRANSLATE_NOOP("Commands", "Word wrap"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Word wrap"), QT_TRANSLATE_NOOP("CommandTips", "Word wrap"), "Ctrl+W",
            nullptr, true},
    Command{kToolbar, Menu::View, QT_TRANSLATE_NOOP("Commands", "&Toolbar"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Show or hide the toolbar"),
            QT_TRANSLATE_NOOP("CommandTips", "Toggle Toolbar"), "", nullptr, true, true},
    Command{kStatusBar, Menu::View, QT_TRANSLATE_NOOP("Commands", "&Status Bar"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Show or hide the status bar"),
            QT_TRANSLATE_NOOP("CommandTips", "Toggle Status Bar"), "", nullptr, true, true},
    Command{kColorize, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "&Colorize"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Colorize chords and tablatures"),
            QT_TRANSLATE_NOOP("CommandTips", "Colorize"), "F5", "colorize"},
    Command{kDecolorize, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "&Decolorize"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Make selected text black"),
            QT_TRANSLATE_NOOP("CommandTips", "Decolorize"), "Shift+F5", "decolorize"},
    Command{kChordInBrackets, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "Chord in [brackets]"),
            QT_TRANSLATE_NOOP(
                "CommandPrompts",
                "If chords are written in brackets (like \"[Am]\") you could activate this to do better colorizing."),
            QT_TRANSLATE_NOOP("CommandTips", "Chords in brackets"), "F8", "chord-in-brackets", true},
    Command{kTranspose, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "Transpose..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Show transpose settings and transpose"),
            QT_TRANSLATE_NOOP("CommandTips", "Transpose"), "F7", "transpose"},
    Command{kQuickTranspose, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "Quick Transpose"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Transpose again with latest settings"), nullptr, "Shift+F7", nullptr},
    Command{kTransposeChords, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "Transpose chords"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Allows transposing of chords"),
            QT_TRANSLATE_NOOP("CommandTips", "Transpose chords"), "", "transpose-chords", true},
    Command{kTransposeTabs, Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "Transpose tablatures"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Allows transposing of tablatures"),
            QT_TRANSLATE_NOOP("CommandTips", "Transpose tablatures"), "", "transpose-tabs", true},
    Command{kGuitarTuner, Menu::Tools, QT_TRANSLATE_NOOP("Commands", "&Guitar tuner..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Play a simple MIDI file for tuning guitars"), nullptr, "Ctrl+G",
            nullptr, false, true},
    Command{kFindNextChord, Menu::Tools, QT_TRANSLATE_NOOP("Commands", "Find next chord"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Find next chord and select it"), nullptr, "Ctrl+D", nullptr},
    Command{kSettings, Menu::Tools, QT_TRANSLATE_NOOP("Commands", "Settings..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "View settings"), nullptr, "F12", nullptr, false, true},
    Command{kCascade, Menu::Window, QT_TRANSLATE_NOOP("Commands", "&Cascade"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Arrange windows so they overlap"),
            QT_TRANSLATE_NOOP("CommandTips", "Cascade Windows"), "", nullptr},
    Command{kTile, Menu::Window, QT_TRANSLATE_NOOP("Commands", "&Tile"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Arrange windows as non-overlapping tiles"),
            QT_TRANSLATE_NOOP("CommandTips", "Tile Windows"), "", nullptr},
    Command{kArrangeIcons, Menu::Window, QT_TRANSLATE_NOOP("Commands", "&Arrange Icons"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Arrange icons at the bottom of the window"),
            QT_TRANSLATE_NOOP("CommandTips", "Arrange Icons"), "", nullptr},
    Command{kNextWindow, Menu::Window, QT_TRANSLATE_NOOP("Commands", "Ne&xt Window"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Switch to the next document window"),
            QT_TRANSLATE_NOOP("CommandTips", "Next Window"), "Ctrl+Tab", nullptr},
    Command{kPreviousWindow, Menu::Window, QT_TRANSLATE_NOOP("Commands", "Pre&vious Window"),
            QT_TRANSLATE_NOOP("CommandPrompts", "Switch to the previous document window"),
            QT_TRANSLATE_NOOP("CommandTips", "Previous Window"), "Ctrl+Shift+Tab", nullptr},
    Command{kOpenReadMe, Menu::Help, QT_TRANSLATE_NOOP("Commands", "Open &ReadMe..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Open ReadMe file"), nullptr, "F1", nullptr, false, true},
    Command{kAbout, Menu::Help, QT_TRANSLATE_NOOP("Commands", "&About Sonavel..."),
            QT_TRANSLATE_NOOP("CommandPrompts", "Display program information, version number and copyright"),
            QT_TRANSLATE_NOOP("CommandTips", "About"), "", nullptr, false, true},
};

constexpr int kFileWithDocument[] = {kNew,         kOpen,      kClose,        kSave,       kSaveAs,
                                     kSeparator,   kPrint,     kPrintPreview, kPrintSetup, kSeparator,
                                     kRecentFiles, kSeparator, kExit};
constexpr int kFileWithoutDocument[] = {kNew,       kOpen,        kSeparator, kPrintSetup,
                                        kSeparator, kRecentFiles, kSeparator, kExit};
constexpr int kEdit[] = {kUndo,      kRedo, kSeparator, kCut,     kCopy,      kPaste,   kSelectAll,
                         kSeparator, kFind, kFindNext,  kReplace, kSeparator, kWordWrap};
constexpr int kView[] = {kToolbar, kStatusBar};
constexpr int kTransposeMenu[] = {kColorize,  kDecolorize,     kSeparator, kChordInBrackets, kSeparator,
                                  kTranspose, kQuickTranspose, kSeparator, kTransposeChords, kTransposeTabs};
constexpr int kToolsWithDocument[] = {kGuitarTuner, kFindNextChord, kSeparator, kSettings};
constexpr int kToolsWithoutDocument[] = {kGuitarTuner, kSeparator, kSettings};
constexpr int kWindow[] = {kCascade, kTile, kArrangeIcons, kSeparator, kNextWindow, kPreviousWindow, kWindowList};
constexpr int kHelp[] = {kOpenReadMe, kSeparator, kAbout};

constexpr std::array kWithDocument = {
    MenuLayout{Menu::File, QT_TRANSLATE_NOOP("Commands", "&File"), kFileWithDocument},
    MenuLayout{Menu::Edit, QT_TRANSLATE_NOOP("Commands", "&Edit"), kEdit},
    MenuLayout{Menu::View, QT_TRANSLATE_NOOP("Commands", "&View"), kView},
    MenuLayout{Menu::Transpose, QT_TRANSLATE_NOOP("Commands", "&Transpose"), kTransposeMenu},
    MenuLayout{Menu::Tools, QT_TRANSLATE_NOOP("Commands", "T&ools"), kToolsWithDocument},
    MenuLayout{Menu::Window, QT_TRANSLATE_NOOP("Commands", "&Window"), kWindow},
    MenuLayout{Menu::Help, QT_TRANSLATE_NOOP("Commands", "&Help"), kHelp},
};
constexpr std::array kWithoutDocument = {
    MenuLayout{Menu::File, QT_TRANSLATE_NOOP("Commands", "&File"), kFileWithoutDocument},
    MenuLayout{Menu::View, QT_TRANSLATE_NOOP("Commands", "&View"), kView},
    MenuLayout{Menu::Tools, QT_TRANSLATE_NOOP("Commands", "T&ools"), kToolsWithoutDocument},
    MenuLayout{Menu::Help, QT_TRANSLATE_NOOP("Commands", "&Help"), kHelp},
};

constexpr int kToolbarEntries[] = {
    kNew,       kOpen,       kSave,      kSeparator,       kCut,           kCopy,      kPaste,
    kSeparator, kPrint,      kSeparator, kTransposeChords, kTransposeTabs, kSeparator, kChordInBrackets,
    kColorize,  kDecolorize, kSeparator, kTranspose};

}  // namespace

const char* const kRecentFilePrompt = QT_TRANSLATE_NOOP("CommandPrompts", "Open this document");
const char* const kWindowListPrompt = QT_TRANSLATE_NOOP("CommandPrompts", "Activate this window");

std::span<const Command> All() { return kCommands; }

const Command* Find(int id) {
  const auto it = std::find_if(kCommands.begin(), kCommands.end(), [id](const Command& c) { return c.id == id; });
  return it == kCommands.end() ? nullptr : &*it;
}

std::span<const MenuLayout> MenusWithDocument() { return kWithDocument; }
std::span<const MenuLayout> MenusWithoutDocument() { return kWithoutDocument; }
std::span<const int> Toolbar() { return kToolbarEntries; }

}  // namespace commands
