#include "dialogs/IntegerSpinEdit.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/QtPrinters.h"

namespace {

struct ValidateCase {
  const char* text;
  bool negativeAllowed;
  QValidator::State expected;
};

TEST(IntegerSpinEdit, AcceptsIntegersAndTheirBeginnings) {
  const ValidateCase cases[] = {
      {"", true, QValidator::Intermediate},      {"-", true, QValidator::Intermediate},
      {"-5", true, QValidator::Acceptable},      {"30", true, QValidator::Acceptable},
      {"007", true, QValidator::Acceptable},     {"-2147483648", true, QValidator::Acceptable},
      {"5-", true, QValidator::Invalid},         {"--5", true, QValidator::Invalid},
      {"+3", true, QValidator::Invalid},         {"1a", true, QValidator::Invalid},
      {" 1", true, QValidator::Invalid},         {"2147483648", true, QValidator::Invalid},
      {"\u0663", true, QValidator::Invalid},  // an Arabic-Indic digit is no decimal digit here
      {"", false, QValidator::Intermediate},     {"12", false, QValidator::Acceptable},
      {"-", false, QValidator::Invalid},         {"-1", false, QValidator::Invalid},
  };
  for (const ValidateCase& c : cases) {
    CIntegerSpinEdit field;
    field.setNegativeAllowed(c.negativeAllowed);
    QString text = QString::fromUtf8(c.text);
    int pos = static_cast<int>(text.size());
    EXPECT_EQ(field.validate(text, pos), c.expected) << c.text << " negative " << c.negativeAllowed;
  }
}

TEST(IntegerSpinEdit, TypingKeepsOnlyWhatCanBecomeAnInteger) {
  CIntegerSpinEdit steps;
  steps.setNegativeAllowed(true);
  steps.setText(QString());
  QTest::keyClicks(steps.findChild<QLineEdit*>(), QStringLiteral("-1x5"));
  EXPECT_EQ(steps.text(), QStringLiteral("-15"));
  EXPECT_EQ(steps.value(), -15);

  CIntegerSpinEdit fret;
  fret.setText(QString());
  QTest::keyClicks(fret.findChild<QLineEdit*>(), QStringLiteral("-40"));
  EXPECT_EQ(fret.text(), QStringLiteral("40"));
}

struct ArrowCase {
  int minimum;
  int maximum;
  int start;
  Qt::Key key;
  int presses;
  int expected;
};

TEST(IntegerSpinEdit, ArrowKeysStopAtTheRange) {
  const ArrowCase cases[] = {
      {-12, 12, 11, Qt::Key_Up, 5, 12},    {-12, 12, 1, Qt::Key_Down, 30, -12},
      {12, 99, 15, Qt::Key_Down, 10, 12},  {12, 99, 15, Qt::Key_Up, 100, 99},
      {0, 99, 3, Qt::Key_Down, 5, 0},      {0, 99, 98, Qt::Key_Up, 5, 99},
      {-12, 12, 30, Qt::Key_Down, 1, 12},  // a typed value beyond the range steps back into it
      {12, 99, 5, Qt::Key_Up, 1, 12},      {-12, 12, -40, Qt::Key_Up, 1, -12},
  };
  for (const ArrowCase& c : cases) {
    CIntegerSpinEdit field;
    field.setNegativeAllowed(true);
    field.setArrowRange(c.minimum, c.maximum);
    field.setValue(c.start);
    for (int i = 0; i < c.presses; ++i) QTest::keyClick(&field, c.key);
    EXPECT_EQ(field.value(), c.expected) << c.minimum << ".." << c.maximum << " from " << c.start;
  }
}

TEST(IntegerSpinEdit, ArrowsStartFromTheLastIntegerWhenTheFieldIsCleared) {
  CIntegerSpinEdit field;
  field.setNegativeAllowed(true);
  field.setArrowRange(-12, 12);
  field.setValue(4);
  field.setText(QStringLiteral("-"));
  QTest::keyClick(&field, Qt::Key_Up);
  EXPECT_EQ(field.value(), 5);
}

}  // namespace
