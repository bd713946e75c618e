#include "shell/DesktopLaunch.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>

namespace desktop {
namespace {

// xdg-mime answers at once; a desktop that hangs must not hang the program.
constexpr int kQueryTimeoutMs = 5000;

Services& Installed() {
  static Services services = SystemServices();
  return services;
}

std::optional<QString> QueryDefaultApplication(const QString& mimeType) {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
  if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit ||
      query.exitCode() != 0) {
    return std::nullopt;
  }
  return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// Whether some program opens the type or one it derives from; a desktop
// that cannot be asked is given the benefit of the doubt.
bool SomeProgramOpens(const QMimeType& type, const Services& services) {
  QStringList names{type.name()};
  names += type.allAncestors();
  for (const QString& name : names) {
    const std::optional<QString> application = services.defaultApplication(name);
    if (!application || !application->isEmpty()) return true;
  }
  return false;
}

}  // namespace

Services SystemServices() {
  return {
      [](const QUrl& url) { return QDesktopServices::openUrl(url); },
      QueryDefaultApplication,
      [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
      },
  };
}

const Services& CurrentServices() { return Installed(); }

ScopedServices::ScopedServices(Services services) : m_previous(std::exchange(Installed(), std::move(services))) {}

ScopedServices::~ScopedServices() { Installed() = std::move(m_previous); }

QUrl TargetUrl(const QString& target) {
  static const QRegularExpression urlPrefix(QStringLiteral("^URL:"), QRegularExpression::CaseInsensitiveOption);
  // Two letters at least, so that "c:" is not taken for a scheme.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  QString address = target.trimmed();
  address.remove(urlPrefix);
  if (scheme.match(address).hasMatch()) return QUrl(address, QUrl::TolerantMode);
  return QUrl::fromLocalFile(QDir::cleanPath(address));
}

int Open(const QString& target) {
  const QUrl url = TargetUrl(target);
  if (target.trimmed().isEmpty() || !url.isValid()) return kFileNotFound;
  const Services& services = CurrentServices();
  QMimeDatabase mimeTypes;
  if (url.isLocalFile()) {
    const QFileInfo file(url.toLocalFile());
    if (!file.absoluteDir().exists()) return kPathNotFound;
    if (!file.exists()) return kFileNotFound;
    if (!SomeProgramOpens(mimeTypes.mimeTypeForFile(file), services)) return kNoAssociation;
  } else {
    const std::optional<QString> handler = services.defaultApplication(QStringLiteral("x-scheme-handler/") + url.scheme());
    if (handler && handler->isEmpty()) return kNoAssociation;
  }
  return services.openUrl(url) ? kLaunched : kFailed;
}

int StartWebBrowser(const QString& target) {
  // $BROWSER may list several commands, the first one that exists wins in
  // xdg-utils; here the first is taken. "%s" marks where the address goes:
  // it and everything after it give way to the address.
  const QString listed = qEnvironmentVariable("BROWSER").section(u':', 0, 0).trimmed();
  QStringList command = QProcess::splitCommand(listed.isEmpty() ? QStringLiteral("x-www-browser") : listed);
  const qsizetype placeholder = command.indexOf(QRegularExpression(QStringLiteral(".*%s.*")));
  if (placeholder >= 0) command = command.mid(0, placeholder);
  if (command.isEmpty()) return kFailed;
  const QUrl url = TargetUrl(target);
  const QString program = command.takeFirst();
  command << (url.isLocalFile() ? url.toLocalFile() : url.toString());
  return CurrentServices().startProgram(program, command) ? kLaunched : kFailed;
}

}  // namespace desktop
