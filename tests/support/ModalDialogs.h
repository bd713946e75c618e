#pragma once
// Drives modal dialogs from a test: the action runs once a modal widget of
// the wanted type is on top, while the code under test sits in its exec().

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

template <typename Widget>
void WhenModal(std::function<void(Widget*)> action, int timeoutMs = 5000) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, action, deadline = QDeadlineTimer(timeoutMs)] {
    auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget());
    if (widget == nullptr && !deadline.hasExpired()) return;
    poll->stop();
    poll->deleteLater();
    if (widget != nullptr) {
      action(widget);
      return;
    }
    ADD_FAILURE() << "the expected modal dialog did not appear";
    // Whatever is modal instead must not leave the test hanging.
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  poll->start();
}

// The message box the action shows, answered with OK; an empty text when it
// shows none.
struct ShownMessage {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;

  // "icon text" (2 for a warning, 1 for information), or nothing.
  QString Said() const { return text.isEmpty() ? QString() : QString::number(icon) + u' ' + text; }
};

inline ShownMessage MessageShownBy(const std::function<void()>& action) {
  ShownMessage shown;
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = {box->windowTitle(), box->text(), box->icon()};
      box->accept();
    }
  });
  answer.start();
  action();
  return shown;
}
