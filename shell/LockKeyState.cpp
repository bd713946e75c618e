#include "shell/LockKeyState.h"

#include <QGuiApplication>

// X11's headers define names (KeyPress, None, Bool) that Qt's use, so they
// stay in this file alone.
#ifdef SONAVEL_HAVE_XKB
#include <X11/XKBlib.h>
#endif

std::optional<bool> LockKeyIsOn(LockKey key) {
#ifdef SONAVEL_HAVE_XKB
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (Display* display = x11 != nullptr ? x11->display() : nullptr) {
    static const char* const kNames[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    const Atom name = XInternAtom(display, kNames[static_cast<int>(key)], False);
    Bool on = False;
    if (name != None && XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr)) return on != False;
    return false;  // a keyboard without that indicator has the lock off
  }
#else
  static_cast<void>(key);
#endif
  return std::nullopt;
}
