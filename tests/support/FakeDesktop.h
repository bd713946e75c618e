#pragma once
// Stands in for the desktop's programs while it lives: notes what the
// program asks them to open or start, and answers as it is told.

#include <QStringList>
#include <optional>

#include "shell/DesktopLaunch.h"

struct FakeDesktop {
  bool opens = true;          // the desktop's opener succeeds
  bool browserStarts = true;  // the web-page program starts
  bool registered = true;     // a program is registered for every type
  QStringList calls;          // "open URL" and "start PROGRAM ARGUMENTS..."

  desktop::Services Services() {
    return {
        [this](const QUrl& url) {
          calls << QStringLiteral("open ") + url.toString();
          return opens;
        },
        [this](const QString&) { return std::optional<QString>(registered ? QStringLiteral("app.desktop") : QString()); },
        [this](const QString& program, const QStringList& arguments) {
          calls << QStringLiteral("start ") + (QStringList{program} + arguments).join(u' ');
          return browserStarts;
        },
    };
  }
};

// Puts a fake desktop in place for the object's lifetime.
class FakeDesktopInPlace {
 public:
  explicit FakeDesktopInPlace(FakeDesktop& fake) : m_scope(fake.Services()) {}

 private:
  desktop::ScopedServices m_scope;
};
