#include "view/TextSearch.h"

#include <QTextCursor>
#include <QTextDocument>

#include "document/Settings.h"
#include "view/SonavelView.h"

namespace {

QTextDocument::FindFlags Flags(const FindOptions& options, bool up) {
  QTextDocument::FindFlags flags;
  if (options.matchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.wholeWord) flags |= QTextDocument::FindWholeWords;
  if (up) flags |= QTextDocument::FindBackward;
  return flags;
}

QTextCursor Search(const QTextDocument& document, const FindOptions& options, const QTextCursor& from) {
  if (options.what.isEmpty()) return {};
  QTextCursor found = document.find(options.what, from, Flags(options, options.up));
  if (found.isNull() && options.wrapAround) {
    QTextCursor end(const_cast<QTextDocument*>(&document));
    end.movePosition(options.up ? QTextCursor::End : QTextCursor::Start);
    found = document.find(options.what, end, Flags(options, options.up));
  }
  return found;
}

// Whether the selection is a whole match of the search.
bool SelectionMatches(const QTextDocument& document, const FindOptions& options, const QTextCursor& selection) {
  if (!selection.hasSelection()) return false;
  QTextCursor start(const_cast<QTextDocument*>(&document));
  start.setPosition(selection.selectionStart());
  const QTextCursor match = document.find(options.what, start, Flags(options, false));
  return !match.isNull() && match.selectionStart() == selection.selectionStart() &&
         match.selectionEnd() == selection.selectionEnd();
}

}  // namespace

bool CTextSearch::FindNext(CSonavelView& view, const FindOptions& options) {
  const QTextCursor found = Search(*view.document(), options, view.textCursor());
  if (found.isNull()) return false;
  view.setTextCursor(found);
  return true;
}

bool CTextSearch::Replace(CSonavelView& view, const FindOptions& options) {
  const QTextCursor selection = view.textCursor();
  if (!SelectionMatches(*view.document(), options, selection)) return FindNext(view, options);
  view.ReplaceSelection(options.replacement);
  FindNext(view, options);
  return true;
}

int CTextSearch::ReplaceAll(CSonavelView& view, const FindOptions& options) {
  if (options.what.isEmpty()) return 0;
  int count = 0;
  view.ReplaceInOneStep([&] {
    QTextCursor from(view.document());
    FindOptions forward = options;
    forward.up = false;
    forward.wrapAround = false;
    for (QTextCursor match = Search(*view.document(), forward, from); !match.isNull();
         match = Search(*view.document(), forward, from)) {
      view.setTextCursor(match);
      view.ReplaceSelection(options.replacement);
      from = view.textCursor();
      ++count;
    }
  });
  return count;
}
