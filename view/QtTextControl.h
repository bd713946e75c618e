#pragma once
// The editor's text control: the view logic's contract realised on a
// QTextEdit and its QTextDocument. A character's colour is the foreground of
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
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "view/TextControl.h"

class QTextDocument;
class QTextEdit;

namespace sonavel {

class QtTextControl final : public TextControl {
 public:
  // Works on the document the edit shows when the control is made; the edit
  // must keep that document for the control's lifetime.
  explicit QtTextControl(QTextEdit& edit);
  ~QtTextControl() override;
  QtTextControl(const QtTextControl&) = delete;
  QtTextControl& operator=(const QtTextControl&) = delete;

  // Replaces all text (UTF-8). CR LF, CR and LF each become one line break;
  // no character has a colour; the caret goes to 0; nothing is left to undo.
  void SetText(std::string_view utf8);
  // All text as UTF-8 with LF line breaks, every character as it is.
  std::string Text() const;

  // True while the document changes because of a call to this control
  // (including the deferred notice at the end of a bulk edit): no user edit.
  bool IsChangingText() const { return m_selfEdit; }

  long Length() const override;
  std::string Text8() const override;
  Selection GetSel() const override;
  void SetSel(long start, long end) override;
  ColorRef ColorAt(long pos) const override;
  long SameColorEnd(long pos, long limit) const override;
  void SetColor(long start, long end, ColorRef color) override;
  void SetPlainFormat(long start, long end, ColorRef color) override;
  // Leaves the edit's own selection alone (the view logic sets it when its
  // bulk edit ends) and, like every change made here, clears the undo
  // history: older records would no longer match the text.
  void Replace(long start, long end, std::string_view text8) override;
  bool IsModified() const override;
  void SetModified(bool modified) override;
  void EmptyUndoHistory() override;
  void SetRedrawSuspended(bool suspended) override;
  long FirstVisibleLine() const override;
  void ScrollLines(long lines) override;
  void SetWaitCursor(bool on) override;

 private:
  // What a format shows: its foreground, or none (the widget's text
  // colour); unknown until first asked.
  static constexpr std::int64_t kNoForeground = -1;
  static constexpr std::int64_t kUnknownForeground = -2;

  // Translation between character positions and document positions.
  long DocPos(long pos) const;
  long CharPos(long docPos) const;
  void EnsurePairsKnown() const;
  void OnContentsChange();

  ColorRef DefaultColor() const;
  static std::int64_t ForegroundOf(const QTextCharFormat& format);
  // The colour a format index stands for, looked up once per format.
  template <typename MakeFormat>
  ColorRef ColorOfIndex(int formatIndex, const MakeFormat& format, ColorRef defaultColor) const;
  ColorRef ColorOfFragment(const QTextFragment& fragment, ColorRef defaultColor) const;
  ColorRef ColorOfBreakBefore(const QTextBlock& block, ColorRef defaultColor) const;
  // The format of the character (or paragraph break) at a document position.
  QTextCharFormat FormatAt(long docPos) const;
  void MergeFormat(long start, long end, const QTextCharFormat& format);
  QTextCursor& CursorOver(long start, long end);
  // Changes made while redraw is suspended are laid out when it resumes.
  // Once they span more than this many positions, layout and undo
  // recording are switched off until then, and the document is laid out
  // anew, lazily, from its top: a pass over a long song stays linear, and a
  // change at the caret stays cheap.
  static constexpr long kLayoutAgainLimit = 16384;
  void NoteChange(long start, long end);
  void BeginBulkChange();
  void EndBulkChange();
  void ForgetFormats() const { m_colorByFormat.clear(); }

  // The block holding a document position. The view logic reads colours
  // front to back, so the last block found is usually the one asked for.
  struct BlockHit {
    QTextBlock block;
    long position = -1;
    long length = 0;
  };
  const BlockHit& BlockAt(long docPos) const;
  // Text changes move blocks; any change may change a colour.
  void ForgetPositions() const {
    m_lastBlock.position = -1;
    m_lastColorPos = -1;
  }
  void ForgetColors() const { m_lastColorPos = -1; }
  long Clamp(long pos) const;
  // Visual lines of a block, laying it out first when it is not yet.
  int LineCountOf(const QTextBlock& block) const;

  QTextEdit& m_edit;
  QTextDocument& m_doc;
  QTextCursor m_cursor;  // reused for every edit, so no cursor is built per call
  QTextCursor m_batch;   // holds the edit block while redraw is suspended
  QMetaObject::Connection m_contentsChange;

  // Character positions of the characters that take two document positions.
  mutable std::vector<long> m_pairs;
  mutable bool m_pairsKnown = false;
  // Foreground by format index; format indices keep their meaning until the
  // document is cleared, which is a change not made here.
  mutable std::vector<std::int64_t> m_colorByFormat;
  mutable BlockHit m_lastBlock;
  mutable long m_lastColorPos = -1;  // ColorAt's last question and answer
  mutable ColorRef m_lastColor = 0;
  bool m_selfEdit = false;  // our own change, which keeps the caches up to date
  bool m_suspended = false;
  bool m_bulk = false;      // layout and undo recording are off
  int m_suspendedScrollValue = 0;
  long m_changedFrom = -1;  // the stretch changed while suspended
  long m_changedTo = -1;
  int m_waitCursors = 0;
};

}  // namespace sonavel
