#pragma once

#include <QLabel>

// A text that opens its target when clicked or when the space bar is pressed
// on it: a web address, a mailto: address or a file, each in the desktop's
// program for it. Drawn underlined in the palette's link colours (visited
// once a launch worked, turned towards cyan while engaged: focused or
// pressed), with a hand pointer and the target as tooltip.
class CHyperLink : public QLabel {
  Q_OBJECT

 public:
  enum LinkStyle : unsigned {
    LS_UNDERLINE = 0x01,
    LS_FIT_TO_TEXT = 0x04,     // the link is as large as its text, on the side its alignment keeps
    LS_FOCUS_ON_CLICK = 0x10,
    LS_DEFAULT = 0x15,
  };

  // With an empty text the link shows its target; without a target it
  // opens its text.
  explicit CHyperLink(const QString& text = QString(), QWidget* parent = nullptr, unsigned linkStyle = LS_DEFAULT);

  void SetTarget(const QString& target);
  void SetTargetFromString(int stringId);
  QString Target() const { return m_strTarget; }

  // Opens the target; a failure beeps and is told in a message box.
  void Follow();
  // Resizes the link to its text (with LS_FIT_TO_TEXT) and keeps the edge
  // or centre its alignment names, in a layout as well as without one.
  void FitToText();

  bool IsEngaged() const { return m_bEngaged; }
  bool IsFollowed() const { return m_bFollowed; }
  QColor TextColor() const;

  // The desktop's opener first, the web-page program second (both through
  // desktop::CurrentServices()). Above 32 is success, else the reason. A
  // file or folder that does not exist is reported as such: no program
  // could open it.
  static int LaunchTarget(const QString& target);
  // "Can't open link:" and the reason for `code`, in a box owned by `owner`.
  static void ShowLaunchError(int code, QWidget* owner);
  static QString LaunchErrorText(int code);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QFont LinkFont() const;
  QSize TextSize() const;
  void KeepAlignmentInLayout();

  bool m_bEngaged = false;
  bool m_bFollowed = false;
  unsigned m_nLinkStyle;
  QString m_strTarget;
};
