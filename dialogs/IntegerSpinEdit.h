#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <optional>

// An integer edit with spin arrows. The arrows and the arrow keys stay
// within a range, but whatever integer the user types is kept as typed:
// out-of-range values are meaningful to the transposition (steps 30, a
// highest fret below the lowest) and must not be clamped away. The field may
// also be empty or hold a lone minus sign while the user is typing; value()
// then reports that it holds no integer.
class CIntegerSpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit CIntegerSpinEdit(QWidget* parent = nullptr);

  // The range of the arrows; typed values are not bound by it.
  void setArrowRange(int minimum, int maximum);
  int arrowMinimum() const { return m_minimum; }
  int arrowMaximum() const { return m_maximum; }

  // Whether a minus sign may be typed. Without it only digits are accepted.
  void setNegativeAllowed(bool allowed);

  // The integer the field holds, or nothing when its text is not one.
  std::optional<int> value() const;
  void setValue(int value);
  void setText(const QString& text);

  // Marks the field as holding no usable integer.
  void setInvalidMark(bool invalid);
  bool hasInvalidMark() const { return m_invalidMark; }

  QValidator::State validate(QString& input, int& pos) const override;
  void stepBy(int steps) override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void textChanged(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;

 private:
  int clampToArrowRange(long long value) const;
  // Where the arrows start from: the typed integer, or the last value the
  // field held when its text is not an integer.
  int arrowBase() const;

  int m_minimum = 0;
  int m_maximum = 99;
  int m_lastValue = 0;
  bool m_negativeAllowed = false;
  bool m_invalidMark = false;
};
