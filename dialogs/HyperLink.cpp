#include "dialogs/HyperLink.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <array>

#include "document/StringTableText.h"
#include "shell/DesktopLaunch.h"

namespace {

constexpr const char* kContext = "CHyperLink";

struct LaunchError {
  int code;
  const char* text;
};

constexpr std::array kLaunchErrors = {
    LaunchError{0, QT_TRANSLATE_NOOP("CHyperLink", "The operating system is out\nof memory or resources.")},
    LaunchError{2, QT_TRANSLATE_NOOP("CHyperLink", "The specified file was not found.")},
    LaunchError{3, QT_TRANSLATE_NOOP("CHyperLink", "The specified path was not found.")},
    LaunchError{5, QT_TRANSLATE_NOOP("CHyperLink", "The operating system denied\naccess to the specified file.")},
    LaunchError{8, QT_TRANSLATE_NOOP("CHyperLink", "There was not enough memory to complete the operation.")},
    LaunchError{11, QT_TRANSLATE_NOOP("CHyperLink",
                                      "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).")},
    LaunchError{26, QT_TRANSLATE_NOOP("CHyperLink", "A sharing violation occurred. ")},
    LaunchError{27, QT_TRANSLATE_NOOP("CHyperLink", "The filename association is\nincomplete or invalid.")},
    LaunchError{28, QT_TRANSLATE_NOOP("CHyperLink",
                                      "The DDE transaction could not\nbe completed because the request timed out.")},
    LaunchError{29, QT_TRANSLATE_NOOP("CHyperLink", "The DDE transaction failed.")},
    LaunchError{30, QT_TRANSLATE_NOOP("CHyperLink",
                                      "The DDE transaction could not\nbe completed because other DDE "
                                      "transactions\nwere being processed.")},
    LaunchError{31, QT_TRANSLATE_NOOP("CHyperLink",
                                      "There is no application associated\nwith the given filename extension.")},
    LaunchError{32, QT_TRANSLATE_NOOP("CHyperLink", "The specified dynamic-link library was not found.")},
};

// The classic engaged colour is the link's blue turned towards cyan; turning
// the palette's link colour the same way keeps its lightness, so it reads
// wherever the link colour does.
QColor EngagedColor(const QColor& link) {
  int hue = 0, saturation = 0, lightness = 0, alpha = 0;
  link.getHsl(&hue, &saturation, &lightness, &alpha);
  if (hue < 0) return link;  // a grey has no hue to turn
  return QColor::fromHsl((hue + 300) % 360, saturation, lightness, alpha).toRgb();
}

QLayout* LayoutHolding(QLayout* layout, QWidget* widget) {
  if (layout == nullptr || layout->indexOf(widget) >= 0) return layout;
  for (int i = 0; i < layout->count(); ++i) {
    if (QLayout* found = LayoutHolding(layout->itemAt(i)->layout(), widget)) return found;
  }
  return nullptr;
}

}  // namespace

CHyperLink::CHyperLink(const QString& text, QWidget* parent, unsigned linkStyle)
    : QLabel(text, parent), m_nLinkStyle(linkStyle), m_strTarget(text) {
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  // Reachable with Tab as well, so that the space bar can follow it.
  setFocusPolicy(Qt::TabFocus);
  setToolTip(m_strTarget);
  if (m_nLinkStyle & LS_FIT_TO_TEXT) setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CHyperLink::SetTarget(const QString& target) {
  m_strTarget = target;
  if (text().isEmpty()) setText(target);
  FitToText();
  setToolTip(target);
}

void CHyperLink::SetTargetFromString(int stringId) { SetTarget(sonavel::StringTableText(stringId)); }

void CHyperLink::Follow() {
  const int code = LaunchTarget(m_strTarget);
  if (code <= 32) {
    QApplication::beep();
    ShowLaunchError(code, window());
    return;
  }
  m_bFollowed = true;
  update();
}

void CHyperLink::FitToText() {
  if (!(m_nLinkStyle & LS_FIT_TO_TEXT)) return;
  const QSize text = TextSize();
  const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
  QRect area = geometry();
  // The halves are of a signed difference: a text wider than the link grows
  // it on both sides.
  if (align & Qt::AlignVCenter) {
    const int d = (area.height() - text.height()) / 2;
    area.adjust(0, d, 0, -d);
  } else if (align & Qt::AlignBottom) {
    area.setTop(area.bottom() + 1 - text.height());
  } else {
    area.setHeight(text.height());
  }
  if (align & Qt::AlignHCenter) {
    const int d = (area.width() - text.width()) / 2;
    area.adjust(d, 0, -d, 0);
  } else if (align & Qt::AlignRight) {
    area.setLeft(area.right() + 1 - text.width());
  } else {
    area.setWidth(text.width());
  }
  setGeometry(area);
  KeepAlignmentInLayout();
  updateGeometry();
  update();
}

// A layout would otherwise place the fitted link at the left of its cell.
void CHyperLink::KeepAlignmentInLayout() {
  if (parentWidget() == nullptr) return;
  if (QLayout* layout = LayoutHolding(parentWidget()->layout(), this)) {
    layout->setAlignment(this, alignment());
  }
}

QColor CHyperLink::TextColor() const {
  const QColor link = palette().color(QPalette::Link);
  if (m_bEngaged) return EngagedColor(link);
  return m_bFollowed ? palette().color(QPalette::LinkVisited) : link;
}

int CHyperLink::LaunchTarget(const QString& target) {
  const int code = desktop::Open(target);
  if (code > 32 || code == desktop::kFileNotFound || code == desktop::kPathNotFound) return code;
  const int browser = desktop::StartWebBrowser(target);
  return browser > 32 ? browser : code;
}

void CHyperLink::ShowLaunchError(int code, QWidget* owner) {
  QMessageBox box(QMessageBox::Warning, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                  tr("Can't open link:\n\n") + LaunchErrorText(code),
                  QMessageBox::Ok, owner);
  box.exec();
}

QString CHyperLink::LaunchErrorText(int code) {
  for (const LaunchError& error : kLaunchErrors) {
    if (error.code == code) return QCoreApplication::translate(kContext, error.text);
  }
  return tr("Unknown Error (%1) occurred.").arg(code);
}

QSize CHyperLink::sizeHint() const { return (m_nLinkStyle & LS_FIT_TO_TEXT) ? TextSize() : QLabel::sizeHint(); }

QSize CHyperLink::minimumSizeHint() const {
  return (m_nLinkStyle & LS_FIT_TO_TEXT) ? TextSize() : QLabel::minimumSizeHint();
}

void CHyperLink::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(LinkFont());
  painter.setPen(TextColor());
  const int m = margin();
  const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
  painter.drawText(contentsRect().adjusted(m, m, -m, -m), static_cast<int>(align) | (wordWrap() ? Qt::TextWordWrap : 0),
                   text());
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
  if (m_nLinkStyle & LS_FOCUS_ON_CLICK) setFocus(Qt::MouseFocusReason);
  m_bEngaged = true;
  update();
}

// A press that is released elsewhere is given up, as with any button.
void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_bEngaged && rect().contains(event->position().toPoint())) return Follow();
  QLabel::mouseReleaseEvent(event);
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space) return Follow();
  QLabel::keyPressEvent(event);
}

void CHyperLink::focusInEvent(QFocusEvent* event) {
  m_bEngaged = true;
  update();
  QLabel::focusInEvent(event);
}

void CHyperLink::focusOutEvent(QFocusEvent* event) {
  m_bEngaged = false;
  update();
  QLabel::focusOutEvent(event);
}

QFont CHyperLink::LinkFont() const {
  QFont linkFont = font();
  linkFont.setUnderline((m_nLinkStyle & LS_UNDERLINE) != 0);
  return linkFont;
}

QSize CHyperLink::TextSize() const {
  const QMargins frame = contentsMargins();
  const int m = 2 * margin();
  const QSize text = QFontMetrics(LinkFont()).size(0, this->text());
  return text + QSize(frame.left() + frame.right() + m, frame.top() + frame.bottom() + m);
}
