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
#include <QTextCursor>
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
  // Translation between character positions and document positions.
  long DocPos(long pos) const;
  long CharPos(long docPos) const;
  void EnsurePairsKnown() const;
  void OnContentsChange();

  ColorRef DefaultColor() const;
  ColorRef ColorOf(const QTextCharFormat& format, ColorRef defaultColor) const;
  // The format of the character (or paragraph break) at a document position.
  QTextCharFormat FormatAt(long docPos) const;
  void MergeFormat(long start, long end, const QTextCharFormat& format);
  QTextCursor& CursorOver(long start, long end);
  long Clamp(long pos) const;

  QTextEdit& m_edit;
  QTextDocument& m_doc;
  QTextCursor m_cursor;  // reused for every edit, so no cursor is built per call
  QMetaObject::Connection m_contentsChange;

  // Character positions of the characters that take two document positions.
  mutable std::vector<long> m_pairs;
  mutable bool m_pairsKnown = false;
  bool m_selfEdit = false;  // our own change, which keeps m_pairs up to date
  int m_waitCursors = 0;
};

}  // namespace sonavel
