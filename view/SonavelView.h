#pragma once
// The editing window of one song. Its commands (colorize, decolorize,
// transpose, find next chord, the option toggles) are the view logic run on
// this widget; results go out as status messages for the main window.
// Only plain text ever enters it, so that a colour in the text always means
// what colorizing put there.

#include <QPlainTextEdit>
#include <functional>
#include <memory>

#include "view/QtTextControl.h"
#include "view/ViewCommands.h"

class CSonavelDoc;
class QPrinter;
class QTextDocument;

class CSonavelView : public QPlainTextEdit {
  Q_OBJECT

 public:
  // Margin on each side of a printed page (half an inch).
  static constexpr double kPrintMarginMillimetres = 12.7;
  // A new song is filled from the clipboard when its text has between these
  // many characters, both included.
  static constexpr long kPrefillMinimum = 9;
  static constexpr long kPrefillMaximum = 16383;

  // Shows the document's text with the document's look.
  explicit CSonavelView(CSonavelDoc& document, QWidget* parent = nullptr);
  ~CSonavelView() override;

  CSonavelDoc& Document() const { return m_doc; }
  sonavel::TextControl& Control() { return m_control; }

  bool CanQuickTranspose() const { return m_commands.CanQuickTranspose(); }
  bool ChordInBrackets() const;
  bool TransposeChords() const;
  bool TransposeTabs() const;
  bool IsWrapToWindow() const { return m_wrapToWindow; }

  // A copy of the text laid out on the printer's page inside the print
  // margins, ready to print.
  std::unique_ptr<QTextDocument> PaginatedCopy(QPrinter& printer) const;
  // Prints the text (or the selection, when the printer asks for it).
  void PrintTo(QPrinter& printer) const;
  // Print with the print dialog on the printer (which keeps what the user
  // chose there and in the page set-up), and its preview.
  void PrintWithDialog(QPrinter& printer);
  void PrintPreview(QPrinter& printer);

  // Replaces the selection by plain text, as a paste does; edits made by
  // `edits` make one step of the undo history.
  void ReplaceSelection(const QString& text);
  void ReplaceInOneStep(const std::function<void()>& edits);

 public slots:
  void OnColorize();
  void OnDecolorize();
  void OnTranspose();
  void OnQuickTranspose();
  void OnFindNextChord();
  void OnChordInBrackets();
  void OnTransposeChords();
  void OnTransposeTabs();
  void OnWordWrap();
  // The Edit menu's Undo and Redo, and every other way to them (keys, the
  // context menu): a command comes back whole, with its selection.
  void OnEditUndo();
  void OnEditRedo();
  // Font, size, effects, background and wrap mode from the document and
  // the settings; leaves the colours of the text alone.
  void ApplyDocumentFont();
  // For a new song: takes the clipboard's text when it is of a suitable
  // length, and colours it.
  void PrefillFromClipboard();

 signals:
  // A result for the main window's status bar.
  void statusMessage(const QString& text);
  // A check mark or the enabling of one of the view's commands changed.
  void commandStateChanged();

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct PasteStart {
    sonavel::Selection selection;
    long length = 0;
    bool autoColor = false;
  };
  // What a key does to the text, for grouping typing into undo steps.
  enum class EditKind { Other, Insert, DeleteBackward, DeleteForward };
  // The run of typing that the next key may join: one undo step per word.
  struct TypingRun {
    bool open = false;
    EditKind kind = EditKind::Other;
    int position = 0;
    int undoSteps = 0;
    bool endsInSpace = false;
  };
  class UserEdit;

  void OnContentsChange();
  void OnLoaded(bool colorize);
  void ApplyWrapMode();
  // Lays the lines out anew, to the page's width or the view's.
  void LayOutLines();
  // Pastes text as plain characters, colouring it when autoColor is on.
  void PasteCleanText(const QString& text);
  PasteStart BeginPaste() const;
  void EndPaste(const PasteStart& start);
  static EditKind KindOf(const QKeyEvent& event);
  bool ContinuesTypingRun(EditKind kind, const QString& text) const;

  CSonavelDoc& m_doc;
  sonavel::QtTextControl m_control;
  sonavel::ViewCommands m_commands;
  bool m_wrapToWindow;
  int m_pageWidth = 0;  // pixels, while lines wrap to the page
  bool m_layingOutToPage = false;
  bool m_userEditing = false;  // a key or input method edit is running
  bool m_userChangedText = false;
  bool m_autoColorQueued = false;
  TypingRun m_typing;
  bool m_dropping = false;
  PasteStart m_dropStart;
  bool m_dropInserted = false;
};
