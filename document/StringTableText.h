#pragma once
// A string-table text in the language of the interface.

#include <QCoreApplication>
#include <QString>

#include "res/StringTable.h"

namespace sonavel {

inline QString StringTableText(int id) {
  return QCoreApplication::translate(kStringTableContext, EnglishString(id).data());
}

// A string-table message with its "%d" placeholders filled in.
inline QString StringTableMessage(int id, std::initializer_list<long> values) {
  return QString::fromStdString(FormatMessage(StringTableText(id).toStdString(), values));
}

}  // namespace sonavel
