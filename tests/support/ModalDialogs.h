#pragma once
// Drives modal dialogs from a test: the action runs once a modal widget of
// the wanted type is on top, while the code under test sits in its exec().

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

template <typename Widget>
void WhenModal(std::function<void(Widget*)> action, int timeoutMs = 5000) {
  auto* poll = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, action, timeoutMs] {
    if (auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      delete clock;
      action(widget);
      return;
    }
    if (clock->elapsed() > timeoutMs) {
      poll->stop();
      poll->deleteLater();
      delete clock;
      ADD_FAILURE() << "the expected modal dialog did not appear";
      // Whatever is modal instead must not leave the test hanging.
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    }
  });
  poll->start();
}
