#include "shell/LockIndicators.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

#include "document/StringTableText.h"
#include "shell/LockKeyState.h"

namespace {

constexpr sonavel::StringId kTexts[] = {sonavel::IDS_INDICATOR_CAPS, sonavel::IDS_INDICATOR_NUM,
                                        sonavel::IDS_INDICATOR_SCRL};

}  // namespace

CLockIndicators::CLockIndicators(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  const bool known = IsOn(Caps).has_value();
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    auto* label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    // Wide enough for the text, whether it is shown or not.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(sonavel::StringTableText(kTexts[i])) + 8);
    if (!known) label->setToolTip(tr("This desktop does not tell the state of the lock keys."));
    layout->addWidget(label);
    m_labels[i] = label;
  }
  qApp->installEventFilter(this);
  Refresh();
}

CLockIndicators::~CLockIndicators() { qApp->removeEventFilter(this); }

std::optional<bool> CLockIndicators::IsOn(Lock lock) { return LockKeyIsOn(static_cast<LockKey>(lock)); }

bool CLockIndicators::IsLit(Lock lock) const { return !m_labels[lock]->text().isEmpty(); }

void CLockIndicators::Refresh() {
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    const bool on = IsOn(static_cast<Lock>(i)).value_or(false);
    m_labels[i]->setText(on ? sonavel::StringTableText(kTexts[i]) : QString());
  }
}

bool CLockIndicators::eventFilter(QObject* watched, QEvent* event) {
  // A lock key changes its state on a key event of the program, or while
  // another program has the keyboard.
  const QEvent::Type type = event->type();
  if ((type == QEvent::KeyRelease && watched == QApplication::focusWidget()) ||
      type == QEvent::ApplicationActivate) {
    Refresh();
  }
  return false;
}
