#pragma once
// The Swedish catalogues of the dialogs and the string table, installed
// while the object lives; with `install` false nothing is, so that one
// table can hold rows in either language.

#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

class SwedishTexts {
 public:
  explicit SwedishTexts(bool install = true) {
    if (!install) return;
    EXPECT_TRUE(m_dialogs.load(QString::fromUtf8(SONAVEL_DIALOGS_SV_QM)));
    EXPECT_TRUE(m_strings.load(QString::fromUtf8(SONAVEL_STRINGS_SV_QM)));
    QCoreApplication::installTranslator(&m_dialogs);
    QCoreApplication::installTranslator(&m_strings);
  }
  ~SwedishTexts() {
    QCoreApplication::removeTranslator(&m_strings);
    QCoreApplication::removeTranslator(&m_dialogs);
  }
  SwedishTexts(const SwedishTexts&) = delete;
  SwedishTexts& operator=(const SwedishTexts&) = delete;

 private:
  QTranslator m_dialogs, m_strings;
};
