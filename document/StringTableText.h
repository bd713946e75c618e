#pragma once
// A string-table text in the language of the interface.

#include <QCoreApplication>
#include <QString>

#include "res/StringTable.h"

namespace sonavel {

inline QString StringTableText(int id) {
  return QCoreApplication::translate(kStringTableContext, EnglishString(id).data(), Disambiguation(id));
}

// Message 60202 with each count in its singular or plural form.
inline QString TransposedCountsText(long chords, long tabs) {
  const auto counted = [](int id, long n) {
    return QCoreApplication::translate(kStringTableContext, EnglishString(id).data(), Disambiguation(id),
                                       static_cast<int>(n));
  };
  return counted(IDS_TRANSPOSED_COUNTS, chords).arg(counted(IDS_TRANSPOSED_TABLATURES, tabs));
}

}  // namespace sonavel
