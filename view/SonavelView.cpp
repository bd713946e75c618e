#include "view/SonavelView.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <algorithm>

#include "dialogs/SampleLook.h"
#include "dialogs/TransposeDialog.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "document/StringTableText.h"

namespace {

using sonavel::theSettings;

constexpr double kMillimetresPerInch = 25.4;

// Lets the text control see the document from its first moment.
QTextEdit& ShowingDocument(QTextEdit& edit, CSonavelDoc& document) {
  edit.setDocument(document.TextDocument());
  return edit;
}

// Files dragged from a file manager come as their paths in text; they are
// not text to insert.
bool CarriesFiles(const QMimeData* source) {
  const QList<QUrl> urls = source->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
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
    : QTextEdit(parent),
      m_doc(document),
      m_control(ShowingDocument(*this, document)),
      m_commands(m_control, document.Options()),
      m_wrapToWindow(theSettings().wordWrap) {
  setAcceptRichText(false);
  connect(m_doc.TextDocument(), &QTextDocument::contentsChange, this, [this](int, int, int) { OnContentsChange(); });
  connect(&m_doc, &CSonavelDoc::colorizeRequested, this, &CSonavelView::OnColorize);
  ApplyDocumentFont();
}

CSonavelView::~CSonavelView() = default;

bool CSonavelView::ChordInBrackets() const { return m_commands.Options().chordInBrackets; }
bool CSonavelView::TransposeChords() const { return m_commands.Options().transpose.transposeChords; }
bool CSonavelView::TransposeTabs() const { return m_commands.Options().transpose.transposeTabs; }

void CSonavelView::OnContentsChange() {
  if (m_pasting || m_doc.IsLoading() || m_control.IsChangingText()) return;
  m_commands.OnTextChanged(theSettings().autoColor);
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
    emit statusMessage(sonavel::StringTableMessage(sonavel::IDS_TRANSPOSED_COUNTS, {counts.chords, counts.tabs}));
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
  if (m_wrapToWindow) {
    setLineWrapMode(QTextEdit::WidgetWidth);
    return;
  }
  setLineWrapMode(QTextEdit::FixedPixelWidth);
  setLineWrapColumnOrWidth(static_cast<int>(PrintableWidthMillimetres() / kMillimetresPerInch * logicalDpiX()));
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

  m_control.EmptyUndoHistory();
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

void CSonavelView::OnFilePrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(m_doc.Title());
  SetPrintMargins(printer);
  QPrintDialog dialog(&printer, this);
  if (textCursor().hasSelection()) dialog.setOption(QAbstractPrintDialog::PrintSelection);
  if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void CSonavelView::OnFilePrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(m_doc.Title());
  SetPrintMargins(printer);
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintTo(*target); });
  preview.exec();
}

bool CSonavelView::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText() && !CarriesFiles(source);
}

void CSonavelView::insertFromMimeData(const QMimeData* source) {
  if (!canInsertFromMimeData(source)) return;
  if (!m_dropping) {
    PasteCleanText(source->text());
    return;
  }
  // A drop inserts at the place the edit chose; the colouring waits until
  // the drop is complete.
  m_dropStart = BeginPaste();
  QTextCursor cursor = textCursor();
  cursor.insertText(UpToNul(source->text()));
  setTextCursor(cursor);
  m_dropInserted = true;
}

void CSonavelView::dropEvent(QDropEvent* event) {
  m_dropping = true;
  m_pasting = true;
  m_dropInserted = false;
  QTextEdit::dropEvent(event);
  m_pasting = false;
  m_dropping = false;
  if (m_dropInserted) EndPaste(m_dropStart);
}

void CSonavelView::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & Qt::ShiftModifier)) {
    // A line break inside a paragraph would be a character the music engine
    // cannot see as one; every line ends a paragraph.
    QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QTextEdit::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QTextEdit::keyPressEvent(event);
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
  const PasteStart start = BeginPaste();
  m_pasting = true;
  QTextCursor cursor = textCursor();
  cursor.insertText(UpToNul(text));
  setTextCursor(cursor);
  m_pasting = false;
  EndPaste(start);
}

void CSonavelView::PrefillFromClipboard() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return;
  const QString text = UpToNul(data->text());
  const long length = CountCharacters(text);
  if (length < kPrefillMinimum || length > kPrefillMaximum) return;
  PasteCleanText(text);
  m_commands.Colorize(false, false);
}
