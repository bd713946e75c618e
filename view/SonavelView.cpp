#include "view/SonavelView.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "dialogs/SampleLook.h"
#include "dialogs/TransposeDialog.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "document/StringTableText.h"

namespace {

using sonavel::theSettings;

constexpr double kMillimetresPerInch = 25.4;

// Lets the text control see the document from its first moment. The plain
// text layout lays out only the blocks that are shown, so opening and
// colouring a long song lay out none of the lines out of view.
QPlainTextEdit& ShowingDocument(QPlainTextEdit& edit, CSonavelDoc& document) {
  QTextDocument* text = document.TextDocument();
  if (qobject_cast<QPlainTextDocumentLayout*>(text->documentLayout()) == nullptr) {
    text->setDocumentLayout(new QPlainTextDocumentLayout(text));
  }
  edit.setDocument(text);
  return edit;
}

// Files dragged from a file manager come as their paths in text; they are
// not text to insert.
bool CarriesFiles(const QMimeData* source) {
  const QList<QUrl> urls = source->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

// Only plain text enters a song: the text of the data, or the plain text of
// a program that offers only HTML.
QString PlainTextOf(const QMimeData& data) {
  if (data.hasText()) return data.text();
  return QTextDocumentFragment::fromHtml(data.html()).toPlainText();
}

// Clipboard text ends at its first NUL, as plain clipboard text always has.
QString UpToNul(QString text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  if (nul >= 0) text.truncate(nul);
  return text;
}

long CountCharacters(const QString& text) {
  return static_cast<long>(std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isLowSurrogate(); }));
}

void SetPrintMargins(QPrinter& printer) {
  const double m = CSonavelView::kPrintMarginMillimetres;
  printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

// The width inside the print margins of the default printer's page. QPrinter
// asks the print system, so this is done once.
double PrintableWidthMillimetres() {
  static const double width = [] {
    QPrinter printer;
    return printer.pageLayout().fullRect(QPageLayout::Millimeter).width() -
           2 * CSonavelView::kPrintMarginMillimetres;
  }();
  return width;
}

// A copy of a text laid out on the printer's page inside the print margins.
// Laid out on the printer itself, it prints at scale 1 and fills exactly
// that area (QTextDocument::print would add margins of its own).
std::unique_ptr<QTextDocument> Paginated(const QTextDocument& source, QPrinter& printer) {
  SetPrintMargins(printer);
  std::unique_ptr<QTextDocument> copy(source.clone());
  copy->setDefaultFont(source.defaultFont());
  copy->setDocumentMargin(0);
  copy->documentLayout()->setPaintDevice(&printer);
  copy->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
  return copy;
}

}  // namespace

CSonavelView::CSonavelView(CSonavelDoc& document, QWidget* parent)
    : QPlainTextEdit(parent),
      m_doc(document),
      m_control(ShowingDocument(*this, document)),
      m_commands(m_control, document.Options()),
      m_wrapToWindow(theSettings().wordWrap) {
  // A scroll bar that came and went with the length of the song would change
  // the width of every line, which costs a long song a fresh layout.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(m_doc.TextDocument(), &QTextDocument::contentsChange, this, [this](int, int, int) { OnContentsChange(); });
  connect(&m_doc, &CSonavelDoc::loaded, this, &CSonavelView::OnLoaded);
  ApplyDocumentFont();
}

CSonavelView::~CSonavelView() = default;

bool CSonavelView::ChordInBrackets() const { return m_commands.Options().chordInBrackets; }
bool CSonavelView::TransposeChords() const { return m_commands.Options().transpose.transposeChords; }
bool CSonavelView::TransposeTabs() const { return m_commands.Options().transpose.transposeTabs; }

void CSonavelView::OnContentsChange() {
  if (m_doc.IsLoading() || m_control.IsChangingText()) return;
  if (m_userEditing) {
    // The document is still telling about the edit; the colouring follows
    // once the edit is done.
    m_userChangedText = true;
    return;
  }
  // An edit that came another way (the context menu's Delete): coloured as
  // soon as the document has finished telling about it.
  if (m_autoColorQueued || !theSettings().autoColor) return;
  m_autoColorQueued = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_autoColorQueued = false;
        m_commands.OnTextChanged(theSettings().autoColor);
      },
      Qt::QueuedConnection);
}

void CSonavelView::OnLoaded(bool colorize) {
  if (colorize) m_commands.Colorize(false, false);
  // A song opens at its top, the caret before its first character.
  m_control.SetSel(0, 0);
  moveCursor(QTextCursor::Start);
  m_typing = {};
  if (m_doc.Losses().Any()) {
    // Once the window shows the song; a song opened only to be printed is
    // gone by then, and nothing is said.
    QMetaObject::invokeMethod(
        this,
        [this] {
          QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                               tr("%1 holds bytes that cannot be kept: %2.\nSaving replaces the file with the text "
                                  "as shown, without them.")
                                   .arg(QDir::toNativeSeparators(m_doc.CurrentFile()), m_doc.LossesText()));
        },
        Qt::QueuedConnection);
  }
}

void CSonavelView::OnColorize() { m_commands.Colorize(false, false); }

void CSonavelView::OnDecolorize() { m_commands.Colorize(true, true); }

void CSonavelView::OnTranspose() {
  sonavel::TransposeOptions& options = m_commands.Options().transpose;
  CTransposeDlg dialog(options, this);
  if (dialog.exec() != QDialog::Accepted) return;
  options = dialog.Options();
  emit commandStateChanged();
  OnQuickTranspose();
}

void CSonavelView::OnQuickTranspose() {
  const sonavel::TransposeCounts counts = m_commands.OnQuickTranspose();
  if (counts.AnyTransposed()) {
    emit statusMessage(sonavel::TransposedCountsText(counts.chords, counts.tabs));
    return;
  }
  const QString message = sonavel::StringTableText(sonavel::IDS_NOTHING_TRANSPOSED);
  QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE), message);
  emit statusMessage(message);
}

void CSonavelView::OnFindNextChord() {
  if (m_commands.OnFindNextChord() == sonavel::ViewCommands::FindResult::NotFound) {
    emit statusMessage(sonavel::StringTableText(sonavel::IDS_NO_CHORD_FOUND));
  }
}

void CSonavelView::OnChordInBrackets() {
  bool& value = m_commands.Options().chordInBrackets;
  value = !value;
  emit commandStateChanged();
}

void CSonavelView::OnTransposeChords() {
  bool& value = m_commands.Options().transpose.transposeChords;
  value = !value;
  emit commandStateChanged();
}

void CSonavelView::OnTransposeTabs() {
  bool& value = m_commands.Options().transpose.transposeTabs;
  value = !value;
  emit commandStateChanged();
}

void CSonavelView::OnWordWrap() {
  m_wrapToWindow = !m_wrapToWindow;
  ApplyWrapMode();
  emit commandStateChanged();
}

void CSonavelView::ApplyWrapMode() {
  const int pageWidth =
      m_wrapToWindow ? 0 : static_cast<int>(PrintableWidthMillimetres() / kMillimetresPerInch * logicalDpiX());
  if (pageWidth == m_pageWidth) return;
  m_pageWidth = pageWidth;
  LayOutLines();
}

// The plain-text view lays its lines out to the width of its viewport, and
// does so whenever that width changes. To lay them out to the page, the
// viewport takes the page's width while the view does so, and gets its own
// back before anything is drawn.
void CSonavelView::LayOutLines() {
  QWidget* port = viewport();
  const QSize own = port->size();
  if (m_pageWidth > 0) {
    m_layingOutToPage = true;
    port->resize(m_pageWidth, own.height());
  }
  QResizeEvent newWidth(port->size(), QSize(-1, -1));
  QPlainTextEdit::resizeEvent(&newWidth);
  if (m_pageWidth > 0) {
    port->resize(own);
    m_layingOutToPage = false;
    QResizeEvent sameWidth(own, own);  // the scroll bars, for the viewport's own size
    QPlainTextEdit::resizeEvent(&sameWidth);
  }
}

void CSonavelView::resizeEvent(QResizeEvent* event) {
  if (m_pageWidth == 0) {
    QPlainTextEdit::resizeEvent(event);
    return;
  }
  if (m_layingOutToPage) return;
  // Lines keep the page's width whatever the window's; only the scroll bars
  // follow the window.
  QResizeEvent sameWidth(event->size(), event->size());
  QPlainTextEdit::resizeEvent(&sameWidth);
}

void CSonavelView::ApplyDocumentFont() {
  const sonavel::DocumentOptions& options = m_commands.Options();
  m_commands.BeginBatchUpdate();
  ApplyWrapMode();

  QFont font(sonavel::ResolveFontFamily(options.font));
  font.setPointSize(std::max(1, static_cast<int>(theSettings().fontSize)));
  font.setBold(options.fontBold);
  font.setItalic(options.fontItalic);
  font.setUnderline(false);
  font.setStrikeOut(false);
  setFont(font);

  QPalette colours = palette();
  colours.setColor(QPalette::Base, options.useSystemBackground ? QApplication::palette().color(QPalette::Base)
                                                               : sonavel::ToQColor(options.backgroundcolor));
  setPalette(colours);

  m_commands.EndBatchUpdate();
}

std::unique_ptr<QTextDocument> CSonavelView::PaginatedCopy(QPrinter& printer) const {
  return Paginated(*document(), printer);
}

void CSonavelView::PrintTo(QPrinter& printer) const {
  if (printer.printRange() == QPrinter::Selection && textCursor().hasSelection()) {
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(textCursor().selection());
    Paginated(selection, printer)->print(&printer);
    return;
  }
  PaginatedCopy(printer)->print(&printer);
}

void CSonavelView::PrintWithDialog(QPrinter& printer) {
  printer.setDocName(m_doc.Title());
  SetPrintMargins(printer);
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, textCursor().hasSelection());
  if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
  printer.setPrintRange(QPrinter::AllPages);  // a selection is this print's only
}

void CSonavelView::PrintPreview(QPrinter& printer) {
  printer.setDocName(m_doc.Title());
  SetPrintMargins(printer);
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintTo(*target); });
  preview.exec();
}

void CSonavelView::ReplaceSelection(const QString& text) { PasteCleanText(text); }

void CSonavelView::ReplaceInOneStep(const std::function<void()>& edits) {
  m_control.BeginEditStep(false);
  edits();
  m_control.EndEditStep(true);
}

// One edit of the user's (a key, an input method's text, a drop) as one
// step of the undo history, which the colouring that autoColor adds joins.
// New text takes the text colour, never the colour of a chord or fret
// beside it. The keys of one word typed in a row make one step.
class CSonavelView::UserEdit {
 public:
  UserEdit(CSonavelView& view, EditKind kind, const QString& text, bool colourAfter = true)
      : m_view(view), m_kind(kind), m_text(text), m_colourAfter(colourAfter) {
    const bool joins = view.ContinuesTypingRun(kind, text);
    view.m_userEditing = true;
    view.m_userChangedText = false;
    view.m_control.BeginUserEditStep(joins);
    if (kind == EditKind::Insert) PrepareInsertion();
  }
  ~UserEdit() {
    m_view.m_control.EndEditStep(true);
    m_view.m_userEditing = false;
    const bool changed = std::exchange(m_view.m_userChangedText, false);
    if (changed && m_colourAfter) m_view.m_commands.OnTextChanged(theSettings().autoColor);
    RememberTypingRun(changed);
  }
  UserEdit(const UserEdit&) = delete;
  UserEdit& operator=(const UserEdit&) = delete;

 private:
  // The insertion format of the caret is the text colour; a selection that
  // the new text replaces goes first, since a selection has no insertion
  // format of its own.
  void PrepareInsertion() {
    QTextCursor cursor = m_view.textCursor();
    if (cursor.hasSelection()) cursor.removeSelectedText();
    cursor.setCharFormat(sonavel::QtTextControl::PlainFormat(m_view.m_commands.Options().textcolor));
    m_view.setTextCursor(cursor);
  }
  void RememberTypingRun(bool changed) {
    TypingRun& run = m_view.m_typing;
    if (!changed || m_kind == EditKind::Other) {
      if (changed) run.open = false;
      return;
    }
    const QTextCursor cursor = m_view.textCursor();
    run.open = !cursor.hasSelection();
    run.kind = m_kind;
    run.position = cursor.position();
    run.undoSteps = m_view.document()->availableUndoSteps();
    run.endsInSpace = !m_text.isEmpty() && m_text.back().isSpace();
  }

  CSonavelView& m_view;
  EditKind m_kind;
  QString m_text;
  bool m_colourAfter;
};

CSonavelView::EditKind CSonavelView::KindOf(const QKeyEvent& event) {
  if (event.matches(QKeySequence::InsertParagraphSeparator)) return EditKind::Insert;
  if (event.key() == Qt::Key_Backspace && !(event.modifiers() & ~Qt::ShiftModifier)) return EditKind::DeleteBackward;
  if (event.matches(QKeySequence::Delete)) return EditKind::DeleteForward;
  // What the text edit takes as typed text (ignoring Ctrl and Ctrl+Shift,
  // which are shortcuts).
  const QString text = event.text();
  if (text.isEmpty()) return EditKind::Other;
  const QChar c = text.front();
  if (c.category() == QChar::Other_Format) return EditKind::Insert;
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier)) return EditKind::Other;
  if (c.isPrint() || c == u'\t' || c.category() == QChar::Other_PrivateUse || c.isHighSurrogate()) {
    return EditKind::Insert;
  }
  return EditKind::Other;
}

bool CSonavelView::ContinuesTypingRun(EditKind kind, const QString& text) const {
  if (!m_typing.open || kind != m_typing.kind || kind == EditKind::Other) return false;
  const QTextCursor cursor = textCursor();
  if (cursor.hasSelection() || cursor.position() != m_typing.position) return false;
  if (document()->availableUndoSteps() != m_typing.undoSteps || document()->isRedoAvailable()) return false;
  // A new word or a new line starts a new step.
  if (kind == EditKind::Insert) {
    const bool space = !text.isEmpty() && text.front().isSpace();
    if (text.contains(u'\r') || text.contains(u'\n')) return false;
    if (m_typing.endsInSpace && !space) return false;
  }
  return true;
}

void CSonavelView::keyPressEvent(QKeyEvent* event) {
  const bool redo = event->matches(QKeySequence::Redo) ||
                    event->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                    event->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
  if (redo || event->matches(QKeySequence::Undo)) {
    redo ? OnEditRedo() : OnEditUndo();
    event->accept();
    return;
  }
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & Qt::ShiftModifier)) {
    // A line break inside a paragraph would be a character the music engine
    // cannot see as one; every line ends a paragraph.
    QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
    {
      UserEdit edit(*this, EditKind::Insert, plain.text());
      QPlainTextEdit::keyPressEvent(&plain);
    }
    event->setAccepted(plain.isAccepted());
    return;
  }
  UserEdit edit(*this, KindOf(*event), event->text());
  QPlainTextEdit::keyPressEvent(event);
}

void CSonavelView::inputMethodEvent(QInputMethodEvent* event) {
  const QString text = event->commitString();
  UserEdit edit(*this, text.isEmpty() ? EditKind::Other : EditKind::Insert, text);
  QPlainTextEdit::inputMethodEvent(event);
}

void CSonavelView::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
  // The menu's Undo and Redo would bypass the view's own.
  for (QAction* action : menu->actions()) {
    const QString name = action->objectName();
    if (name != QLatin1String("edit-undo") && name != QLatin1String("edit-redo")) continue;
    disconnect(action, &QAction::triggered, nullptr, nullptr);
    if (name == QLatin1String("edit-undo")) connect(action, &QAction::triggered, this, &CSonavelView::OnEditUndo);
    else connect(action, &QAction::triggered, this, &CSonavelView::OnEditRedo);
  }
  menu->exec(event->globalPos());
}

void CSonavelView::OnEditUndo() {
  m_typing = {};
  m_control.Undo();
}

void CSonavelView::OnEditRedo() {
  m_typing = {};
  m_control.Redo();
}

bool CSonavelView::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && (source->hasText() || source->hasHtml()) && !CarriesFiles(source);
}

void CSonavelView::insertFromMimeData(const QMimeData* source) {
  if (!canInsertFromMimeData(source)) return;
  const QString text = PlainTextOf(*source);
  if (!m_dropping) {
    PasteCleanText(text);
    return;
  }
  // A drop inserts at the place the edit chose; the colouring waits until
  // the drop is complete.
  m_dropStart = BeginPaste();
  QTextCursor cursor = textCursor();
  m_control.InsertPlainText(cursor, UpToNul(text), m_commands.Options().textcolor);
  setTextCursor(cursor);
  m_dropInserted = true;
}

void CSonavelView::dropEvent(QDropEvent* event) {
  UserEdit edit(*this, EditKind::Other, QString(), false);
  m_dropping = true;
  m_dropInserted = false;
  QPlainTextEdit::dropEvent(event);
  m_dropping = false;
  if (m_dropInserted) EndPaste(m_dropStart);
}

CSonavelView::PasteStart CSonavelView::BeginPaste() const {
  return {m_control.GetSel(), m_control.Length(), theSettings().autoColor};
}

void CSonavelView::EndPaste(const PasteStart& start) {
  if (!start.autoColor) return;
  const long cpMin = start.selection.start;
  const long pasted = (m_control.Length() - start.length) + (start.selection.end - start.selection.start);
  m_control.SetSel(cpMin, cpMin + pasted);
  m_commands.Colorize(false, false);
  m_control.SetSel(cpMin + pasted, cpMin + pasted);
}

void CSonavelView::PasteCleanText(const QString& text) {
  m_typing = {};
  m_control.BeginEditStep(false);
  const PasteStart start = BeginPaste();
  QTextCursor cursor = textCursor();
  m_control.InsertPlainText(cursor, UpToNul(text), m_commands.Options().textcolor);
  setTextCursor(cursor);
  EndPaste(start);
  m_control.EndEditStep(true);
}

void CSonavelView::PrefillFromClipboard() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!canInsertFromMimeData(data)) return;
  const QString text = UpToNul(PlainTextOf(*data));
  const long length = CountCharacters(text);
  if (length < kPrefillMinimum || length > kPrefillMaximum) return;
  // The new song's text and its colours are one step: Undo gives back the
  // empty song.
  m_control.BeginEditStep(false);
  PasteCleanText(text);
  m_commands.Colorize(false, false);
  m_control.EndEditStep(true);
}
