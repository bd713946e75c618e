#pragma once
// The editor's text control: the view logic's contract realised on a
// QPlainTextEdit and its QTextDocument. A character's colour is the foreground of
// its character format; a character without one has the colour the widget
// paints it in. A paragraph break is one position and reads as LF.
//
// Positions count characters. QTextDocument counts UTF-16 units, so a
// character outside the Basic Multilingual Plane takes two of its positions;
// the control translates, keeping the places of such characters in a sorted
// list (empty for almost every song, which makes the translation free).

#include <QMetaObject>
#include <QTextCharFormat>
#include <QTextBlock>
#include <QTextCursor>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view/TextControl.h"

class QTextDocument;
class QPlainTextEdit;

namespace sonavel {

class QtTextControl final : public TextControl {
 public:
  // Works on the document the edit shows when the control is made; the edit
  // must keep that document for the control's lifetime.
  explicit QtTextControl(QPlainTextEdit& edit);
  ~QtTextControl() override;
  QtTextControl(const QtTextControl&) = delete;
  QtTextControl& operator=(const QtTextControl&) = delete;

  // Replaces all text (UTF-8). CR LF, CR and LF each become one line break;
  // no character has a colour; the caret goes to 0; nothing is left to undo.
  void SetText(std::string_view utf8);
  // All text as UTF-8 with LF line breaks, every character as it is.
  std::string Text() const;

  // The format of text that is typed, pasted or dropped: the text colour,
  // never the colour of a neighbouring chord or fret.
  static QTextCharFormat PlainFormat(ColorRef color);
  // Inserts the user's text at the cursor in that format.
  void InsertPlainText(QTextCursor& cursor, const QString& text, ColorRef color);

  // Undo and Redo of the document's history. A step of the view's commands
  // comes back with the selection it had, and one that changed only
  // colours leaves the modified flag as it was.
  void Undo();
  void Redo();

  // True while the document changes because of a call to this control
  // (including the deferred notice at the end of a bulk edit, and undo or
  // redo): no new edit of the user's.
  bool IsChangingText() const { return m_selfEdit || m_replaying; }

  long Length() const override;
  std::string Text8() const override;
  std::string Text8Range(long start, long end) const override;
  long LineStart(long pos) const override;
  long LineEnd(long pos) const override;
  Selection GetSel() const override;
  void SetSel(long start, long end) override;
  ColorRef ColorAt(long pos) const override;
  long SameColorEnd(long pos, long limit) const override;
  void SetColor(long start, long end, ColorRef color) override;
  void SetPlainFormat(long start, long end, ColorRef color) override;
  // Leaves the edit's own selection alone (the view logic sets it when its
  // bulk edit ends).
  void Replace(long start, long end, std::string_view text8) override;
  bool IsModified() const override;
  void SetModified(bool modified) override;
  void BeginEditStep(bool joinPrevious) override;
  void EndEditStep(bool textChanged) override;
  // A step of the user's own edit (a key, a drop): the document tells of
  // its change as of any edit of the user's.
  void BeginUserEditStep(bool joinPrevious);
  void SetRedrawSuspended(bool suspended) override;
  long FirstVisibleLine() const override;
  void ScrollLines(long lines) override;
  void SetWaitCursor(bool on) override;

 private:
  // What a format shows: its foreground, or none (the widget's text
  // colour), and whether it underlines; unknown until first asked. A format
  // that holds nothing but a colour (and no underline) can be replaced whole
  // by a new look, which is cheaper for the document than merging the new
  // look into it.
  static constexpr std::int64_t kNoForeground = -1;
  struct FormatLook {
    bool known = false;
    bool underline = false;
    bool nothingElse = false;
    std::int64_t foreground = kNoForeground;
  };
  // A stretch whose look changes, and whether a format in it holds more
  // than a look.
  struct Stretch {
    long from = 0;
    long to = 0;
    bool merge = false;
  };
  // Where a step of the view's commands began and ended, set when the
  // history replays the step.
  struct ReplayedStep {
    Selection selection;
    bool textChanged = true;
  };
  struct ReplaySink {
    std::optional<ReplayedStep> step;
  };
  class StepMarker;

  // Translation between character positions and document positions.
  long DocPos(long pos) const;
  long CharPos(long docPos) const;
  void EnsurePairsKnown() const;
  // Appends the projection of a document text (paragraph breaks as U+2029);
  // with `pairs`, also where its surrogate pairs are.
  static void AppendProjection(const QString& raw, std::string& out, std::vector<long>* pairs);
  void OnContentsChange(int position, int added);
  // The longest change whose new text is searched for surrogate pairs as it
  // comes in.
  static constexpr int kPairsCheckedInChange = 4096;

  void BeginStep(bool joinPrevious, bool users);

  ColorRef DefaultColor() const;
  // What a format index stands for, looked up once per format.
  template <typename MakeFormat>
  const FormatLook& LookOfIndex(int formatIndex, const MakeFormat& format) const;
  const FormatLook& LookOfFragment(const QTextFragment& fragment) const;
  const FormatLook& LookOfBreakBefore(const QTextBlock& block) const;
  static ColorRef ColorOf(const FormatLook& look, ColorRef defaultColor);
  // The format of the character (or paragraph break) at a document position.
  QTextCharFormat FormatAt(long docPos) const;
  // Sets the colour (and with `plain` takes off the underline) of [start,
  // end), skipping every stretch that shows it already, so that unchanged
  // characters leave nothing in the undo history.
  void ApplyLook(long start, long end, ColorRef color, bool plain);
  // The format that gives a look, kept for the next run of that colour.
  const QTextCharFormat& LookFormat(ColorRef color, bool plain);
  void UndoRedo(bool undo);
  QTextCursor& CursorOver(long start, long end);
  // Changes made while redraw is suspended are laid out when it resumes.
  // Once they span more than this many positions, layout is switched off
  // until then, and the blocks are laid out again only as they are shown: a
  // pass over a long song stays linear, and a change at the caret stays
  // cheap.
  static constexpr long kLayoutAgainLimit = 16384;
  void NoteChange(long start, long end);
  void BeginBulkChange();
  void EndBulkChange();
  void ForgetFormats() const { m_lookByFormat.clear(); }

  // The block holding a document position. The view logic reads colours
  // front to back, so the last block found is usually the one asked for.
  // Its pieces (fragments, then the paragraph break) are listed when first
  // asked for: where each ends and how it looks.
  struct Piece {
    long end = 0;
    FormatLook look;
  };
  struct BlockHit {
    QTextBlock block;
    long position = -1;
    long length = 0;
    std::vector<Piece> pieces;
  };
  const BlockHit& BlockAt(long docPos) const;
  // The pieces of the block holding a document position, and the piece
  // holding it.
  const std::vector<Piece>& PiecesAt(long docPos) const;
  const Piece& PieceAt(long docPos) const;
  // The piece of the block last read that holds the whole stretch, when
  // replacing it by `text` keeps the block one line.
  std::optional<std::size_t> PieceHolding(long docStart, long docEnd, const QString& text) const;
  // Gives the stretch [from, to) of the last block's pieces a new look.
  void RepaintPieces(long from, long to, const FormatLook& look) const;
  // Text changes move blocks; any change may change a colour.
  void ForgetPositions() const {
    m_lastBlock.position = -1;
    ForgetColors();
    m_length = -1;
  }
  void ForgetColors() const {
    m_lastColorPos = -1;
    m_lastBlock.pieces.clear();
  }
  long Clamp(long pos) const;

  QPlainTextEdit& m_edit;
  QTextDocument& m_doc;
  QTextCursor m_cursor;  // reused for every edit, so no cursor is built per call
  QTextCursor m_batch;   // holds the edit block of the outermost step
  QMetaObject::Connection m_contentsChange;

  // Character positions of the characters that take two document positions.
  mutable std::vector<long> m_pairs;
  mutable bool m_pairsKnown = false;
  // Looks by format index; format indices keep their meaning until the
  // document is cleared, which is a change not made here.
  mutable std::vector<FormatLook> m_lookByFormat;
  // The formats of the last few looks: a pass paints in a handful of them.
  struct LookFormatCache {
    bool known = false;
    ColorRef color = 0;
    bool plain = false;
    QTextCharFormat format;
  };
  std::array<LookFormatCache, 6> m_lookFormats;
  std::size_t m_nextLookFormat = 0;
  mutable BlockHit m_lastBlock;
  mutable long m_length = -1;        // in characters, while the text is unchanged
  mutable long m_lastColorPos = -1;  // ColorAt's last question and answer
  mutable ColorRef m_lastColor = 0;
  bool m_selfEdit = false;  // our own change, which keeps the caches up to date
  bool m_replaying = false; // undo or redo
  int m_editSteps = 0;      // open steps; the outermost holds the edit block
  bool m_stepIsUsers = false;
  int m_stepUndoCount = 0;
  // Where the open step, or the step it joins, began; unknown when it
  // joins a step that was not made here.
  std::optional<Selection> m_stepBefore;
  bool m_stepChangedText = false;
  // The last step made here, for a step that joins it.
  struct MadeStep {
    int undoCount = -1;
    Selection before;
    bool textChanged = false;
  };
  MadeStep m_lastStep;
  std::shared_ptr<ReplaySink> m_replay = std::make_shared<ReplaySink>();
  bool m_suspended = false;
  bool m_bulk = false;      // layout is off
  int m_suspendedScrollValue = 0;
  long m_changedFrom = -1;  // the stretch changed while suspended
  long m_changedTo = -1;
  int m_waitCursors = 0;
};

}  // namespace sonavel
