#include "view/QtTextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QAbstractUndoItem>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr char kOtherCharacter = 0x7F;

QColor ToQtColor(ColorRef color) {
  return QColor(static_cast<int>(RedOf(color)), static_cast<int>(GreenOf(color)), static_cast<int>(BlueOf(color)));
}

ColorRef ToColorRef(const QColor& color) {
  return MakeColorRef(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
                      static_cast<unsigned>(color.blue()));
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

QtTextControl::QtTextControl(QPlainTextEdit& edit)
    : m_edit(edit), m_doc(*edit.document()), m_cursor(edit.document()), m_batch(edit.document()) {
  m_contentsChange =
      QObject::connect(&m_doc, &QTextDocument::contentsChange, [this](int position, int, int added) { OnContentsChange(position, added); });
}

QtTextControl::~QtTextControl() {
  QObject::disconnect(m_contentsChange);
  while (m_waitCursors > 0) SetWaitCursor(false);
}

void QtTextControl::OnContentsChange(int position, int added) {
  if (m_selfEdit) return;
  // A text without characters beyond the Basic Multilingual Plane keeps none
  // while what is typed or pasted brings none, and then nothing need be
  // counted again: the usual keystroke stays clear of the whole text. A
  // whole song coming in is counted when first asked, not here.
  if (m_pairsKnown && m_pairs.empty() && added <= kPairsCheckedInChange) {
    QTextCursor change(&m_doc);
    change.setPosition(std::min(position, m_doc.characterCount() - 1));
    change.setPosition(std::min(position + added, m_doc.characterCount() - 1), QTextCursor::KeepAnchor);
    const QString text = change.selectedText();
    m_pairsKnown = std::none_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
  } else {
    m_pairsKnown = false;
  }
  ForgetPositions();
  ForgetFormats();  // the change may have been a clear, which renumbers formats
}

void QtTextControl::SetText(std::string_view utf8) {
  m_pairsKnown = false;  // counted when first asked, not looked for in the change notice
  m_doc.setPlainText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  m_doc.clearUndoRedoStacks();
  m_replay->step.reset();
  m_lastStep = {};
  ForgetPositions();
  ForgetFormats();
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
  if (m_length < 0) {
    EnsurePairsKnown();
    m_length = static_cast<long>(m_doc.characterCount()) - 1 - static_cast<long>(m_pairs.size());
  }
  return m_length;
}

std::string QtTextControl::Text8() const {
  const QString raw = m_doc.toRawText();
  std::string out;
  const bool rebuild = !m_pairsKnown;
  if (rebuild) m_pairs.clear();
  AppendProjection(raw, out, rebuild ? &m_pairs : nullptr);
  m_pairsKnown = true;
  return out;
}

void QtTextControl::AppendProjection(const QString& raw, std::string& out, std::vector<long>* pairs) {
  out.reserve(out.size() + static_cast<std::size_t>(raw.size()));
  const char16_t* units = reinterpret_cast<const char16_t*>(raw.utf16());
  const qsizetype n = raw.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = units[i];
    if (u == QChar::ParagraphSeparator) {
      out.push_back('\n');
    } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(units[i + 1])) {
      if (pairs) pairs->push_back(static_cast<long>(out.size()));
      out.push_back(kOtherCharacter);
      ++i;
    } else {
      out.push_back(ProjectionByte(u));
    }
  }
}

std::string QtTextControl::Text8Range(long start, long end) const {
  start = Clamp(start);
  end = std::max(start, Clamp(end));
  QTextCursor range(&m_doc);
  range.setPosition(static_cast<int>(DocPos(start)));
  range.setPosition(static_cast<int>(DocPos(end)), QTextCursor::KeepAnchor);
  std::string out;
  AppendProjection(range.selectedText(), out, nullptr);
  return out;
}

long QtTextControl::LineStart(long pos) const {
  return CharPos(BlockAt(DocPos(Clamp(pos))).position);
}

long QtTextControl::LineEnd(long pos) const {
  const BlockHit& hit = BlockAt(DocPos(Clamp(pos)));
  return CharPos(hit.position + hit.length - 1);
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
  const int docStart = static_cast<int>(DocPos(start));
  const int docEnd = static_cast<int>(DocPos(end));
  const QTextCursor current = m_edit.textCursor();
  // Setting the edit's cursor scrolls it into view and restarts its
  // blinking; the same selection is left as it is, in its own direction.
  if (current.selectionStart() == docStart && current.selectionEnd() == docEnd) return;
  QTextCursor cursor(&m_doc);
  cursor.setPosition(docStart);
  cursor.setPosition(docEnd, QTextCursor::KeepAnchor);
  m_edit.setTextCursor(cursor);
}

ColorRef QtTextControl::DefaultColor() const {
  return ToColorRef(m_edit.palette().color(QPalette::Active, QPalette::Text));
}

template <typename MakeFormat>
const QtTextControl::FormatLook& QtTextControl::LookOfIndex(int formatIndex, const MakeFormat& format) const {
  static const FormatLook kNone{true, false, true, kNoForeground};
  if (formatIndex < 0) return kNone;
  const auto index = static_cast<std::size_t>(formatIndex);
  if (index >= m_lookByFormat.size()) m_lookByFormat.resize(index + 1);
  FormatLook& look = m_lookByFormat[index];
  if (!look.known) {
    const QTextCharFormat f = format();
    look.known = true;
    look.underline = f.fontUnderline();
    // An underline is kept by a change of colour, so a format with one is
    // merged into.
    const int plainProperties =
        (f.hasProperty(QTextFormat::ForegroundBrush) ? 1 : 0) + (f.hasProperty(QTextFormat::FontUnderline) ? 1 : 0);
    look.nothingElse = !look.underline && f.propertyCount() == plainProperties;
    look.foreground = f.hasProperty(QTextFormat::ForegroundBrush) ? ToColorRef(f.foreground().color()) : kNoForeground;
  }
  return look;
}

const QtTextControl::FormatLook& QtTextControl::LookOfFragment(const QTextFragment& fragment) const {
  return LookOfIndex(fragment.charFormatIndex(), [&fragment] { return fragment.charFormat(); });
}

// A paragraph break's format is the one the next block starts with.
const QtTextControl::FormatLook& QtTextControl::LookOfBreakBefore(const QTextBlock& block) const {
  return LookOfIndex(block.charFormatIndex(), [&block] { return block.charFormat(); });
}

ColorRef QtTextControl::ColorOf(const FormatLook& look, ColorRef defaultColor) {
  return look.foreground == kNoForeground ? defaultColor : static_cast<ColorRef>(look.foreground);
}

const QtTextControl::BlockHit& QtTextControl::BlockAt(long docPos) const {
  if (m_lastBlock.position >= 0 && docPos >= m_lastBlock.position &&
      docPos < m_lastBlock.position + m_lastBlock.length) {
    return m_lastBlock;
  }
  // The block after the last one is found without a search through the
  // document.
  const bool next = m_lastBlock.position >= 0 && docPos == m_lastBlock.position + m_lastBlock.length;
  const QTextBlock block = next ? m_lastBlock.block.next() : m_doc.findBlock(static_cast<int>(docPos));
  m_lastBlock.block = block;
  m_lastBlock.position = next ? docPos : block.position();
  m_lastBlock.length = block.length();
  m_lastBlock.pieces.clear();
  return m_lastBlock;
}

const std::vector<QtTextControl::Piece>& QtTextControl::PiecesAt(long docPos) const {
  const BlockHit& hit = BlockAt(docPos);
  std::vector<Piece>& pieces = m_lastBlock.pieces;
  if (!pieces.empty()) return pieces;
  long end = hit.position;
  for (auto it = hit.block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    end += fragment.length();
    pieces.push_back({end, LookOfFragment(fragment)});
  }
  pieces.push_back({end + 1, LookOfBreakBefore(hit.block.next())});
  return pieces;
}

std::optional<std::size_t> QtTextControl::PieceHolding(long docStart, long docEnd, const QString& text) const {
  const std::vector<Piece>& pieces = m_lastBlock.pieces;
  if (docStart >= docEnd || text.isEmpty() || pieces.empty() || docStart < m_lastBlock.position) return std::nullopt;
  const bool breaksLine = std::any_of(text.begin(), text.end(), [](QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c.isSurrogate();
  });
  if (breaksLine) return std::nullopt;
  // The paragraph break, the last piece, is never part of the stretch.
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    const long pieceStart = i == 0 ? m_lastBlock.position : pieces[i - 1].end;
    if (docStart >= pieceStart && docEnd <= pieces[i].end) return i;
    if (docStart < pieces[i].end) return std::nullopt;
  }
  return std::nullopt;
}

const QtTextControl::Piece& QtTextControl::PieceAt(long docPos) const {
  const std::vector<Piece>& pieces = PiecesAt(docPos);
  const auto it = std::upper_bound(pieces.begin(), pieces.end(), docPos,
                                   [](long pos, const Piece& piece) { return pos < piece.end; });
  return it == pieces.end() ? pieces.back() : *it;
}

QTextCharFormat QtTextControl::FormatAt(long docPos) const {
  const BlockHit& hit = BlockAt(docPos);
  long end = hit.position;
  for (auto it = hit.block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    end += fragment.length();
    if (docPos < end) return fragment.charFormat();
  }
  return hit.block.next().charFormat();  // the paragraph break
}

ColorRef QtTextControl::ColorAt(long pos) const {
  if (pos == m_lastColorPos) return m_lastColor;
  const long docPos = DocPos(pos);
  const ColorRef color = ColorOf(PieceAt(docPos).look, DefaultColor());
  m_lastColorPos = pos;
  m_lastColor = color;
  return color;
}

long QtTextControl::SameColorEnd(long pos, long limit) const {
  limit = std::min(limit, Length() - 1);
  if (pos >= limit) return pos;
  const ColorRef defaultColor = DefaultColor();
  const ColorRef color = ColorAt(pos);
  const long docStart = DocPos(pos);
  const long docLast = DocPos(limit + 1) - 1;  // last unit of the character at limit

  // Every position from docStart up to `next` has the colour.
  long next = docStart;
  const long documentEnd = m_doc.characterCount();
  while (next < documentEnd) {
    for (const Piece& piece : PiecesAt(next)) {
      if (piece.end <= next) continue;
      if (ColorOf(piece.look, defaultColor) != color) return CharPos(next - 1);
      next = piece.end;
      if (next > docLast) return limit;
    }
  }
  return CharPos(std::max(next - 1, docStart));
}

QTextCursor& QtTextControl::CursorOver(long start, long end) {
  m_cursor.setPosition(static_cast<int>(DocPos(start)));
  m_cursor.setPosition(static_cast<int>(DocPos(end)), QTextCursor::KeepAnchor);
  return m_cursor;
}

const QTextCharFormat& QtTextControl::LookFormat(ColorRef color, bool plain) {
  for (const LookFormatCache& kept : m_lookFormats) {
    if (kept.known && kept.color == color && kept.plain == plain) return kept.format;
  }
  LookFormatCache& cache = m_lookFormats[m_nextLookFormat];
  m_nextLookFormat = (m_nextLookFormat + 1) % m_lookFormats.size();
  cache = {true, color, plain, QTextCharFormat()};
  cache.format.setForeground(ToQtColor(color));
  if (plain) cache.format.setFontUnderline(false);
  return cache.format;
}

QTextCharFormat QtTextControl::PlainFormat(ColorRef color) {
  QTextCharFormat format;
  format.setForeground(ToQtColor(color));
  format.setFontUnderline(false);
  return format;
}

void QtTextControl::ApplyLook(long start, long end, ColorRef color, bool plain) {
  start = Clamp(start);
  end = Clamp(end);
  if (start >= end) return;
  const long docStart = DocPos(start);
  const long docEnd = DocPos(end);
  const auto shows = [&](const FormatLook& look) {
    return look.foreground == static_cast<std::int64_t>(color) && !(plain && look.underline);
  };

  // The stretches that need the change, found before anything changes.
  std::vector<Stretch> stretches;
  const auto need = [&stretches](long from, long to, const FormatLook& look) {
    if (!stretches.empty() && stretches.back().to == from) {
      stretches.back().to = to;
      stretches.back().merge = stretches.back().merge || !look.nothingElse;
    } else {
      stretches.push_back({from, to, !look.nothingElse});
    }
  };
  for (long pos = docStart; pos < docEnd;) {
    long pieceStart = BlockAt(pos).position;
    for (const Piece& piece : PiecesAt(pos)) {
      if (piece.end > pos && !shows(piece.look)) {
        need(std::max(pieceStart, docStart), std::min(piece.end, docEnd), piece.look);
      }
      pieceStart = piece.end;
      if (pieceStart >= docEnd) break;
    }
    pos = pieceStart;  // the start of the next block
  }
  if (stretches.empty()) return;

  const QTextCharFormat& format = LookFormat(color, plain);
  NoteChange(start, end);
  m_selfEdit = true;
  for (const Stretch& stretch : stretches) {
    m_cursor.setPosition(static_cast<int>(stretch.from));
    m_cursor.setPosition(static_cast<int>(stretch.to), QTextCursor::KeepAnchor);
    if (stretch.merge) m_cursor.mergeCharFormat(format);
    else m_cursor.setCharFormat(format);
  }
  m_selfEdit = false;

  // A format replaced whole looks exactly as asked; the pieces of the block
  // the change stayed in follow it, so the next run is read from them.
  const bool oneBlock = stretches.front().from >= m_lastBlock.position;
  const bool replaced = std::none_of(stretches.begin(), stretches.end(), [](const Stretch& s) { return s.merge; });
  if (oneBlock && replaced) {
    for (const Stretch& stretch : stretches) RepaintPieces(stretch.from, stretch.to, FormatLook{true, false, true, color});
    m_lastColorPos = -1;
  } else {
    ForgetColors();
  }
}

void QtTextControl::RepaintPieces(long from, long to, const FormatLook& look) const {
  std::vector<Piece>& pieces = m_lastBlock.pieces;
  const auto splitAt = [&](long at) {
    long pieceStart = m_lastBlock.position;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (at > pieceStart && at < pieces[i].end) {
        pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i), Piece{at, pieces[i].look});
        return;
      }
      pieceStart = pieces[i].end;
    }
  };
  splitAt(from);
  splitAt(to);
  long pieceStart = m_lastBlock.position;
  for (Piece& piece : pieces) {
    if (pieceStart >= from && piece.end <= to) piece.look = look;
    pieceStart = piece.end;
  }
}

void QtTextControl::SetColor(long start, long end, ColorRef color) { ApplyLook(start, end, color, false); }

void QtTextControl::SetPlainFormat(long start, long end, ColorRef color) { ApplyLook(start, end, color, true); }

void QtTextControl::InsertPlainText(QTextCursor& cursor, const QString& text, ColorRef color) {
  ForgetPositions();
  m_pairsKnown = false;
  m_selfEdit = true;
  cursor.insertText(text, PlainFormat(color));
  m_selfEdit = false;
}

void QtTextControl::Replace(long start, long end, std::string_view text8) {
  start = Clamp(start);
  end = Clamp(end);
  if (start > end) std::swap(start, end);
  const long docStart = DocPos(start);
  const long docEnd = DocPos(end);
  QTextCharFormat format;
  if (start < end) format = FormatAt(docStart);
  else if (start > 0) format = FormatAt(DocPos(start - 1));
  const QString text = FromText8(text8);
  const std::optional<std::size_t> piece = PieceHolding(docStart, docEnd, text);

  NoteChange(start, end);
  if (piece) {
    const long docDelta = static_cast<long>(text.size()) - (docEnd - docStart);
    // The new text takes the look of the text it replaces, inside one piece
    // of one block: only that piece and those after it end elsewhere.
    for (std::size_t i = *piece; i < m_lastBlock.pieces.size(); ++i) m_lastBlock.pieces[i].end += docDelta;
    m_lastBlock.length += docDelta;
    m_lastColorPos = -1;
    m_length = -1;
  } else {
    ForgetPositions();
  }
  m_selfEdit = true;
  CursorOver(start, end).insertText(text, format);
  m_selfEdit = false;

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

void QtTextControl::SetModified(bool modified) {
  // Marking a modified document modified again would make the document
  // forget which step of its history was saved.
  if (modified != m_doc.isModified()) m_doc.setModified(modified);
}

// Ends each step of the view's commands in the undo history. Replayed, it
// tells the control where the step left the selection; and, as the step's
// last record, it keeps the user's next typing from merging into it.
class QtTextControl::StepMarker final : public QAbstractUndoItem {
 public:
  StepMarker(std::weak_ptr<ReplaySink> sink, Selection before, Selection after, bool textChanged)
      : m_sink(std::move(sink)), m_before(before), m_after(after), m_textChanged(textChanged) {}
  void undo() override { Tell(m_before); }
  void redo() override { Tell(m_after); }

 private:
  void Tell(Selection selection) {
    if (const auto sink = m_sink.lock()) sink->step = ReplayedStep{selection, m_textChanged};
  }
  std::weak_ptr<ReplaySink> m_sink;
  Selection m_before;
  Selection m_after;
  bool m_textChanged;
};

void QtTextControl::BeginEditStep(bool joinPrevious) { BeginStep(joinPrevious, false); }

void QtTextControl::BeginUserEditStep(bool joinPrevious) { BeginStep(joinPrevious, true); }

void QtTextControl::BeginStep(bool joinPrevious, bool users) {
  if (m_editSteps++ > 0) return;
  m_stepIsUsers = users;
  m_stepUndoCount = m_doc.availableUndoSteps();
  m_stepBefore = GetSel();
  m_stepChangedText = false;
  if (joinPrevious) {
    const bool joinsOurs = m_lastStep.undoCount == m_stepUndoCount && !m_doc.isRedoAvailable();
    m_stepBefore = joinsOurs ? std::optional(m_lastStep.before) : std::nullopt;
    m_stepChangedText = joinsOurs && m_lastStep.textChanged;
  }
  // Inside one edit block the document also tells its listeners and its
  // layout once, when the block ends, instead of after every change.
  if (joinPrevious) m_batch.joinPreviousEditBlock();
  else m_batch.beginEditBlock();
}

void QtTextControl::EndEditStep(bool textChanged) {
  if (m_editSteps == 0 || --m_editSteps > 0) return;
  if (m_stepBefore && m_doc.availableUndoSteps() != m_stepUndoCount) {
    const bool changedText = m_stepChangedText || textChanged;
    m_doc.appendUndoItem(new StepMarker(m_replay, *m_stepBefore, GetSel(), changedText));
    m_lastStep = {m_doc.availableUndoSteps(), *m_stepBefore, changedText};
  }
  // The user's own edits are news to everyone, this control's caches too.
  m_selfEdit = !m_stepIsUsers;
  m_batch.endEditBlock();
  m_selfEdit = false;
}

void QtTextControl::Undo() { UndoRedo(true); }

void QtTextControl::Redo() { UndoRedo(false); }

void QtTextControl::UndoRedo(bool undo) {
  if (undo ? !m_doc.isUndoAvailable() : !m_doc.isRedoAvailable()) return;
  const bool wasModified = m_doc.isModified();
  m_replay->step.reset();
  m_lastStep = {};
  QTextCursor cursor = m_edit.textCursor();
  m_replaying = true;
  if (undo) m_doc.undo(&cursor);
  else m_doc.redo(&cursor);
  m_replaying = false;
  m_pairsKnown = false;
  ForgetPositions();
  m_edit.setTextCursor(cursor);
  if (const std::optional<ReplayedStep> step = std::exchange(m_replay->step, std::nullopt)) {
    SetSel(step->selection.start, step->selection.end);
    if (!step->textChanged) SetModified(wasModified);
  }
  m_edit.ensureCursorVisible();
}

void QtTextControl::SetRedrawSuspended(bool suspended) {
  if (suspended) {
    m_edit.viewport()->setUpdatesEnabled(false);
    m_suspended = true;
    m_suspendedScrollValue = m_edit.verticalScrollBar()->value();
    m_changedFrom = -1;
    return;
  }
  m_suspended = false;
  EndBulkChange();
  m_edit.viewport()->setUpdatesEnabled(true);
  m_edit.viewport()->update();
}

void QtTextControl::NoteChange(long start, long end) {
  if (!m_suspended) return;
  if (m_changedFrom < 0) {
    m_changedFrom = start;
    m_changedTo = end;
  }
  m_changedFrom = std::min(m_changedFrom, start);
  m_changedTo = std::max(m_changedTo, end);
  // At the end of the edit block the changed stretch is laid out again at
  // once; beyond this it is cheaper to lay the document out anew, lazily.
  if (m_changedTo - m_changedFrom > kLayoutAgainLimit) BeginBulkChange();
}

void QtTextControl::BeginBulkChange() {
  if (m_bulk) return;
  m_bulk = true;
  m_doc.setLayoutEnabled(false);
}

void QtTextControl::EndBulkChange() {
  if (!m_bulk) return;
  m_bulk = false;
  m_doc.setLayoutEnabled(true);
  // Blocks are laid out again as they come into view; every bulk edit
  // restores its scroll position itself, so this is that position.
  m_edit.verticalScrollBar()->setValue(m_suspendedScrollValue);
}

// The plain-text view scrolls by visual lines: its scroll bar's value is
// the number of the first line it shows, a block not yet laid out counting
// as one line.
long QtTextControl::FirstVisibleLine() const { return m_edit.verticalScrollBar()->value(); }

void QtTextControl::ScrollLines(long lines) {
  QScrollBar* bar = m_edit.verticalScrollBar();
  const long target = std::clamp(FirstVisibleLine() + lines, 0L, static_cast<long>(bar->maximum()));
  bar->setValue(static_cast<int>(target));
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
