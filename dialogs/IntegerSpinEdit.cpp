#include "dialogs/IntegerSpinEdit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

namespace {

// Light red behind a field whose text is not an integer.
const QColor kInvalidBase(0xFF, 0xD6, 0xD6);

}  // namespace

CIntegerSpinEdit::CIntegerSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setValue(0);
  connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
    if (const std::optional<int> typed = value()) m_lastValue = *typed;
    update();  // the arrows' enabled state follows the text
    emit textChanged(text);
  });
}

void CIntegerSpinEdit::setArrowRange(int minimum, int maximum) {
  m_minimum = minimum;
  m_maximum = std::max(minimum, maximum);
  updateGeometry();
  update();
}

void CIntegerSpinEdit::setNegativeAllowed(bool allowed) { m_negativeAllowed = allowed; }

std::optional<int> CIntegerSpinEdit::value() const {
  bool ok = false;
  const int parsed = lineEdit()->text().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return parsed;
}

void CIntegerSpinEdit::setValue(int value) { lineEdit()->setText(QString::number(value)); }

void CIntegerSpinEdit::setText(const QString& text) { lineEdit()->setText(text); }

void CIntegerSpinEdit::setInvalidMark(bool invalid) {
  if (invalid == m_invalidMark) return;
  m_invalidMark = invalid;
  if (invalid) {
    QPalette marked = palette();
    marked.setColor(QPalette::Base, kInvalidBase);
    setPalette(marked);
    setToolTip(tr("An integer is required."));
  } else {
    setPalette(QPalette());  // back to the inherited palette
    setToolTip(QString());
  }
}

QValidator::State CIntegerSpinEdit::validate(QString& input, int& /*pos*/) const {
  qsizetype digitsFrom = 0;
  if (m_negativeAllowed && input.startsWith(u'-')) digitsFrom = 1;
  for (qsizetype i = digitsFrom; i < input.size(); ++i) {
    const QChar c = input.at(i);
    if (c < u'0' || c > u'9') return QValidator::Invalid;
  }
  // Empty or a lone minus sign: the user is on the way to a number.
  if (input.size() == digitsFrom) return QValidator::Intermediate;
  bool ok = false;
  input.toInt(&ok, 10);
  // A number that does not fit the field's integer cannot be typed at all.
  return ok ? QValidator::Acceptable : QValidator::Invalid;
}

int CIntegerSpinEdit::clampToArrowRange(long long value) const {
  return static_cast<int>(std::clamp<long long>(value, m_minimum, m_maximum));
}

int CIntegerSpinEdit::arrowBase() const { return value().value_or(m_lastValue); }

void CIntegerSpinEdit::stepBy(int steps) {
  // A typed value beyond the range comes back to its nearer end.
  setValue(clampToArrowRange(static_cast<long long>(arrowBase()) + steps));
  selectAll();
}

QAbstractSpinBox::StepEnabled CIntegerSpinEdit::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  const int base = arrowBase();
  StepEnabled enabled = StepNone;
  if (base < m_maximum) enabled |= StepUpEnabled;
  if (base > m_minimum) enabled |= StepDownEnabled;
  return enabled;
}

QSize CIntegerSpinEdit::sizeHint() const {
  ensurePolished();
  const QFontMetrics metrics(fontMetrics());
  // Room for the wider end of the arrow range and one digit more, since
  // values beyond the range may be typed.
  int width = 0;
  for (const int end : {m_minimum, m_maximum}) {
    width = std::max(width, metrics.horizontalAdvance(QString::number(end) + QStringLiteral("0 ")));
  }
  width += 2;  // the blinking cursor, as QSpinBox counts it
  const int height = lineEdit()->sizeHint().height();
  QStyleOptionSpinBox option;
  initStyleOption(&option);
  return style()->sizeFromContents(QStyle::CT_SpinBox, &option, QSize(width, height), this);
}

QSize CIntegerSpinEdit::minimumSizeHint() const { return sizeHint(); }
