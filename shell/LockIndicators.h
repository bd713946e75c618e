#pragma once
// The status bar's CAP, NUM and SCRL indicators, lit while Caps Lock, Num
// Lock and Scroll Lock are on. The states are read from the X keyboard on
// X11; where the desktop does not tell them, the indicators stay dark and
// say so in their tooltip rather than guess.

#include <QWidget>
#include <array>
#include <optional>

class QLabel;

class CLockIndicators : public QWidget {
  Q_OBJECT

 public:
  enum Lock { Caps, Num, Scroll };

  explicit CLockIndicators(QWidget* parent = nullptr);
  ~CLockIndicators() override;

  // The state of a lock key, or none where the desktop does not tell it.
  static std::optional<bool> IsOn(Lock lock);
  // Whether the indicator shows its text now.
  bool IsLit(Lock lock) const;

 public slots:
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLabel*, 3> m_labels{};
};
