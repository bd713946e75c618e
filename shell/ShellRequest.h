#pragma once
// The requests the desktop sends the running program, as command texts:
// [open("FILE")], [print("FILE")] and [printto("FILE","PRINTER","DRIVER",
// "PORT")], one or more in a row. A quotation mark inside an argument is
// written twice. Anything else is no request.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct ShellRequest {
  enum class Verb { Open, Print, PrintTo };
  Verb verb = Verb::Open;
  QStringList arguments;  // the file, then for PrintTo the printer, driver and port

  QString Text() const;
  friend bool operator==(const ShellRequest&, const ShellRequest&) = default;

  // All the requests of a text, or none when any part of it is malformed.
  static std::optional<QList<ShellRequest>> Parse(const QString& text);
};
