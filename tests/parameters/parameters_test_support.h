#pragma once
// Shared by the parameter tests: records by number, and record fields compared as one readable
// list, so that a failure shows every field of the record at once.
#include "qt_print.h"
#include "shell/definitions_table.h"

#include <QStringList>
#include <concepts>
#include <gtest/gtest.h>

inline DefinitionRecord& rec(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

inline QString field_text(const QString& s) {
    return s;
}
inline QString field_text(const char* s) {
    return QString::fromUtf8(s);
}
inline QString field_text(bool b) {
    return b ? "true" : "false";
}
inline QString field_text(std::integral auto v) {
    return QString::number(v);
}
inline QString field_text(double v) {
    return QString::number(v, 'g', 15);
}

template <class... T> QStringList fields(const T&... values) {
    return {field_text(values)...};
}
