#include "view/QtTextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr char kOtherCharacter = 0x7F;

QColor ToQtColor(ColorRef color) {
  return QColor(static_cast<int>(RedOf(color)), static_cast<int>(GreenOf(color)), static_cast<int>(BlueOf(color)));
}

char ProjectionByte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  const int b = UnicodeToWindows1252(unit);
  return b < 0 ? kOtherCharacter : static_cast<char>(b);
}

bool StartsPair(const QString& text, qsizetype i) {
  return QChar::isHighSurrogate(text[i].unicode()) && i + 1 < text.size() &&
         QChar::isLowSurrogate(text[i + 1].unicode());
}

QString FromText8(std::string_view text8) {
  QString text;
  text.reserve(static_cast<qsizetype>(text8.size()));
  for (const char byte : text8) {
    const char32_t c = Windows1252ToUnicode(static_cast<std::uint8_t>(byte));
    text.append(QChar(static_cast<char16_t>(c)));
  }
  return text;
}

}  // namespace

QtTextControl::QtTextControl(QTextEdit& edit)
    : m_edit(edit), m_doc(*edit.document()), m_cursor(edit.document()) {
  m_contentsChange =
      QObject::connect(&m_doc, &QTextDocument::contentsChange, [this](int, int, int) { OnContentsChange(); });
}

QtTextControl::~QtTextControl() {
  QObject::disconnect(m_contentsChange);
  while (m_waitCursors > 0) SetWaitCursor(false);
}

void QtTextControl::OnContentsChange() {
  if (!m_selfEdit) m_pairsKnown = false;
}

void QtTextControl::SetText(std::string_view utf8) {
  m_doc.setPlainText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  m_doc.clearUndoRedoStacks();
  m_pairsKnown = false;
  QTextCursor caret(&m_doc);
  m_edit.setTextCursor(caret);
}

std::string QtTextControl::Text() const {
  QString raw = m_doc.toRawText();
  std::replace(raw.begin(), raw.end(), QChar(QChar::ParagraphSeparator), QChar(u'\n'));
  return raw.toStdString();
}

void QtTextControl::EnsurePairsKnown() const {
  if (m_pairsKnown) return;
  m_pairs.clear();
  const QString raw = m_doc.toRawText();
  long chars = 0;
  for (qsizetype i = 0; i < raw.size(); ++i, ++chars) {
    if (StartsPair(raw, i)) {
      m_pairs.push_back(chars);
      ++i;
    }
  }
  m_pairsKnown = true;
}

long QtTextControl::DocPos(long pos) const {
  EnsurePairsKnown();
  if (m_pairs.empty()) return pos;
  const auto before = std::lower_bound(m_pairs.begin(), m_pairs.end(), pos) - m_pairs.begin();
  return pos + static_cast<long>(before);
}

long QtTextControl::CharPos(long docPos) const {
  EnsurePairsKnown();
  if (m_pairs.empty()) return docPos;
  // Pair i occupies document positions m_pairs[i] + i and the one after it;
  // count the pairs that end at or before docPos.
  long lo = 0;
  long hi = static_cast<long>(m_pairs.size());
  while (lo < hi) {
    const long mid = (lo + hi) / 2;
    if (m_pairs[static_cast<std::size_t>(mid)] + mid + 1 <= docPos) lo = mid + 1;
    else hi = mid;
  }
  return docPos - lo;
}

long QtTextControl::Length() const {
  EnsurePairsKnown();
  return static_cast<long>(m_doc.characterCount()) - 1 - static_cast<long>(m_pairs.size());
}

std::string QtTextControl::Text8() const {
  const QString raw = m_doc.toRawText();
  std::string out;
  out.reserve(static_cast<std::size_t>(raw.size()));
  const bool rebuild = !m_pairsKnown;
  if (rebuild) m_pairs.clear();
  const char16_t* units = reinterpret_cast<const char16_t*>(raw.utf16());
  const qsizetype n = raw.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = units[i];
    if (u == QChar::ParagraphSeparator) {
      out.push_back('\n');
    } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(units[i + 1])) {
      if (rebuild) m_pairs.push_back(static_cast<long>(out.size()));
      out.push_back(kOtherCharacter);
      ++i;
    } else {
      out.push_back(ProjectionByte(u));
    }
  }
  m_pairsKnown = true;
  return out;
}

long QtTextControl::Clamp(long pos) const { return std::clamp(pos, 0L, Length()); }

Selection QtTextControl::GetSel() const {
  const QTextCursor cursor = m_edit.textCursor();
  return {CharPos(cursor.selectionStart()), CharPos(cursor.selectionEnd())};
}

void QtTextControl::SetSel(long start, long end) {
  if (start < 0 && end == -1) {  // select all
    start = 0;
    end = Length();
  }
  start = Clamp(start);
  end = Clamp(end);
  if (start > end) std::swap(start, end);
  QTextCursor cursor(&m_doc);
  cursor.setPosition(static_cast<int>(DocPos(start)));
  cursor.setPosition(static_cast<int>(DocPos(end)), QTextCursor::KeepAnchor);
  m_edit.setTextCursor(cursor);
}

ColorRef QtTextControl::DefaultColor() const {
  const QColor c = m_edit.palette().color(QPalette::Active, QPalette::Text);
  return MakeColorRef(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                      static_cast<unsigned>(c.blue()));
}

ColorRef QtTextControl::ColorOf(const QTextCharFormat& format, ColorRef defaultColor) const {
  if (!format.hasProperty(QTextFormat::ForegroundBrush)) return defaultColor;
  const QColor c = format.foreground().color();
  return MakeColorRef(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                      static_cast<unsigned>(c.blue()));
}

QTextCharFormat QtTextControl::FormatAt(long docPos) const {
  const QTextBlock block = m_doc.findBlock(static_cast<int>(docPos));
  if (docPos == block.position() + block.length() - 1) {
    // A paragraph break: its format is the one the next block starts with.
    return block.next().charFormat();
  }
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (fragment.contains(static_cast<int>(docPos))) return fragment.charFormat();
  }
  return block.charFormat();
}

ColorRef QtTextControl::ColorAt(long pos) const { return ColorOf(FormatAt(DocPos(pos)), DefaultColor()); }

long QtTextControl::SameColorEnd(long pos, long limit) const {
  limit = std::min(limit, Length() - 1);
  if (pos >= limit) return pos;
  const ColorRef defaultColor = DefaultColor();
  const long docStart = DocPos(pos);
  const long docLast = DocPos(limit + 1) - 1;  // last unit of the character at limit
  const ColorRef color = ColorOf(FormatAt(docStart), defaultColor);

  // Every position before `next` (from docStart on) has the colour.
  long next = docStart;
  QTextBlock block = m_doc.findBlock(static_cast<int>(docStart));
  while (block.isValid()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const long fragmentEnd = fragment.position() + fragment.length();
      if (fragmentEnd <= next) continue;
      if (ColorOf(fragment.charFormat(), defaultColor) != color) return CharPos(next - 1);
      next = fragmentEnd;
      if (next > docLast) return limit;
    }
    const QTextBlock following = block.next();
    if (!following.isValid()) break;
    if (ColorOf(following.charFormat(), defaultColor) != color) return CharPos(next - 1);
    next = block.position() + block.length();  // past the paragraph break
    if (next > docLast) return limit;
    block = following;
  }
  return CharPos(std::max(next - 1, docStart));
}

QTextCursor& QtTextControl::CursorOver(long start, long end) {
  m_cursor.setPosition(static_cast<int>(DocPos(start)));
  m_cursor.setPosition(static_cast<int>(DocPos(end)), QTextCursor::KeepAnchor);
  return m_cursor;
}

void QtTextControl::MergeFormat(long start, long end, const QTextCharFormat& format) {
  start = Clamp(start);
  end = Clamp(end);
  if (start >= end) return;
  m_selfEdit = true;
  CursorOver(start, end).mergeCharFormat(format);
  m_selfEdit = false;
  m_doc.clearUndoRedoStacks();
}

void QtTextControl::SetColor(long start, long end, ColorRef color) {
  QTextCharFormat format;
  format.setForeground(ToQtColor(color));
  MergeFormat(start, end, format);
}

void QtTextControl::SetPlainFormat(long start, long end, ColorRef color) {
  QTextCharFormat format;
  format.setForeground(ToQtColor(color));
  format.setFontUnderline(false);
  MergeFormat(start, end, format);
}

void QtTextControl::Replace(long start, long end, std::string_view text8) {
  start = Clamp(start);
  end = Clamp(end);
  if (start > end) std::swap(start, end);
  QTextCharFormat format;
  if (start < end) format = FormatAt(DocPos(start));
  else if (start > 0) format = FormatAt(DocPos(start - 1));
  const QString text = FromText8(text8);

  m_selfEdit = true;
  CursorOver(start, end).insertText(text, format);
  m_selfEdit = false;
  m_doc.clearUndoRedoStacks();

  if (m_pairsKnown && !m_pairs.empty()) {
    // The new characters are all 8-bit ones; pairs in the replaced range go,
    // those after it move.
    long inserted = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
      ++inserted;
    }
    const long shift = inserted - (end - start);
    const auto first = std::lower_bound(m_pairs.begin(), m_pairs.end(), start);
    const auto last = std::lower_bound(first, m_pairs.end(), end);
    const auto kept = m_pairs.erase(first, last);
    for (auto it = kept; it != m_pairs.end(); ++it) *it += shift;
  }
}

bool QtTextControl::IsModified() const { return m_doc.isModified(); }

void QtTextControl::SetModified(bool modified) { m_doc.setModified(modified); }

void QtTextControl::EmptyUndoHistory() { m_doc.clearUndoRedoStacks(); }

void QtTextControl::SetRedrawSuspended(bool suspended) {
  m_edit.viewport()->setUpdatesEnabled(!suspended);
  if (!suspended) m_edit.viewport()->update();
}

long QtTextControl::FirstVisibleLine() const {
  const QTextBlock top = m_edit.cursorForPosition(QPoint(0, 0)).block();
  QAbstractTextDocumentLayout* layout = m_doc.documentLayout();
  long line = 0;
  for (QTextBlock block = m_doc.begin(); block.isValid() && block != top; block = block.next()) {
    layout->blockBoundingRect(block);  // lays the block out when it is not yet
    line += std::max(1, block.layout()->lineCount());
  }
  if (top.isValid()) {
    const QRectF rect = layout->blockBoundingRect(top);
    const qreal y = m_edit.verticalScrollBar()->value() - rect.top();
    const QTextLayout* blockLayout = top.layout();
    for (int i = 1; i < blockLayout->lineCount() && blockLayout->lineAt(i).y() <= y; ++i) ++line;
  }
  return line;
}

void QtTextControl::ScrollLines(long lines) {
  const long target = std::max(0L, FirstVisibleLine() + lines);
  QAbstractTextDocumentLayout* layout = m_doc.documentLayout();
  QScrollBar* bar = m_edit.verticalScrollBar();
  long line = 0;
  for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
    const QRectF rect = layout->blockBoundingRect(block);
    const int count = std::max(1, block.layout()->lineCount());
    if (target < line + count) {
      const long index = target - line;
      const qreal y = index < block.layout()->lineCount()
                          ? rect.top() + block.layout()->lineAt(static_cast<int>(index)).y()
                          : rect.top();
      bar->setValue(static_cast<int>(y));
      return;
    }
    line += count;
  }
  bar->setValue(bar->maximum());
}

void QtTextControl::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_waitCursors;
  } else if (m_waitCursors > 0) {
    QApplication::restoreOverrideCursor();
    --m_waitCursors;
  }
}

}  // namespace sonavel
