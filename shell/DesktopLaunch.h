#pragma once
// Opening files and addresses with the desktop's programs. Results are the
// codes the rest of the program reports: above 32 is success, 32 or less
// names the reason (the codes the Windows shell used, so that messages keyed
// by them keep their meaning).

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

namespace desktop {

inline constexpr int kLaunched = 33;
inline constexpr int kFailed = 0;  // anything the desktop does not explain
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kNoAssociation = 31;

// What launching needs from the desktop. The program uses SystemServices();
// tests put their own in place with ScopedServices.
struct Services {
  // Opens an address with the desktop's program for it.
  std::function<bool(const QUrl&)> openUrl;
  // The desktop entry that opens a MIME type (or "x-scheme-handler/<scheme>"):
  // empty when none does, nothing when the desktop cannot be asked.
  std::function<std::optional<QString>(const QString& mimeType)> defaultApplication;
  // Starts a program without waiting for it.
  std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
};

// QDesktopServices, `xdg-mime query default` and QProcess::startDetached.
Services SystemServices();
const Services& CurrentServices();

// Puts `services` in place for its lifetime, then the previous ones again.
class ScopedServices {
 public:
  explicit ScopedServices(Services services);
  ~ScopedServices();
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;

 private:
  Services m_previous;
};

// The address a target stands for: "URL:" before an address is dropped, an
// address with a scheme stays one, anything else is a local path.
QUrl TargetUrl(const QString& target);

// Opens the target with the desktop's program for it. A local file is
// checked first: a missing folder gives kPathNotFound, a missing file
// kFileNotFound, a type that no program opens kNoAssociation.
int Open(const QString& target);

// Starts the web-page program ($BROWSER, else x-www-browser) on the target.
// kLaunched when it started, else kFailed.
int StartWebBrowser(const QString& target);

}  // namespace desktop
