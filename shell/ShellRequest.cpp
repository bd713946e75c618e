#include "shell/ShellRequest.h"

namespace {

struct VerbName {
  ShellRequest::Verb verb;
  const char* name;
  qsizetype arguments;
};
constexpr VerbName kVerbs[] = {{ShellRequest::Verb::Open, "open", 1},
                               {ShellRequest::Verb::Print, "print", 1},
                               {ShellRequest::Verb::PrintTo, "printto", 4}};

QString Quoted(QString argument) { return u'"' + argument.replace(u'"', QStringLiteral("\"\"")) + u'"'; }

// Reads a quoted argument at `pos`, leaving `pos` after its closing quote.
std::optional<QString> ReadQuoted(const QString& text, qsizetype& pos) {
  if (pos >= text.size() || text[pos] != u'"') return std::nullopt;
  QString argument;
  for (++pos; pos < text.size(); ++pos) {
    if (text[pos] != u'"') {
      argument += text[pos];
      continue;
    }
    if (pos + 1 < text.size() && text[pos + 1] == u'"') {
      argument += u'"';
      ++pos;
      continue;
    }
    ++pos;
    return argument;
  }
  return std::nullopt;  // no closing quote
}

}  // namespace

QString ShellRequest::Text() const {
  QString text;
  for (const VerbName& v : kVerbs) {
    if (v.verb == verb) text = u'[' + QString::fromLatin1(v.name) + u'(';
  }
  for (qsizetype i = 0; i < arguments.size(); ++i) text += (i > 0 ? QStringLiteral(",") : QString()) + Quoted(arguments[i]);
  return text + QStringLiteral(")]");
}

std::optional<QList<ShellRequest>> ShellRequest::Parse(const QString& text) {
  QList<ShellRequest> requests;
  qsizetype pos = 0;
  while (pos < text.size()) {
    if (text[pos] != u'[') return std::nullopt;
    const qsizetype open = text.indexOf(u'(', pos);
    if (open < 0) return std::nullopt;
    const QString name = text.mid(pos + 1, open - pos - 1);
    const VerbName* verb = nullptr;
    for (const VerbName& v : kVerbs) {
      if (name == QLatin1String(v.name)) verb = &v;
    }
    if (verb == nullptr) return std::nullopt;
    ShellRequest request{verb->verb, {}};
    pos = open + 1;
    while (true) {
      const std::optional<QString> argument = ReadQuoted(text, pos);
      if (!argument) return std::nullopt;
      request.arguments << *argument;
      if (pos < text.size() && text[pos] == u',') {
        ++pos;
        continue;
      }
      break;
    }
    if (request.arguments.size() != verb->arguments || text.mid(pos, 2) != QStringLiteral(")]")) return std::nullopt;
    if (request.arguments.front().isEmpty()) return std::nullopt;
    pos += 2;
    requests << request;
  }
  if (requests.isEmpty()) return std::nullopt;
  return requests;
}
