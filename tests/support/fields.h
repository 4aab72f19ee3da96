#pragma once
// Several values compared as one readable list, so that a failure shows every value at once:
// EXPECT_EQ(fields(r.name, r.present), fields("Level", true)).
#include "qt_print.h"

#include <QStringList>
#include <type_traits>

template <class T> QString field_text(const T& v) {
    if constexpr (std::is_same_v<T, bool>)
        return v ? "true" : "false";
    else if constexpr (std::is_integral_v<T>)
        return QString::number(v);
    else if constexpr (std::is_enum_v<T>)
        return QString::number(static_cast<long long>(v));
    else if constexpr (std::is_floating_point_v<T>)
        return QString::number(v, 'g', 15);
    else
        return QString(v);
}

template <class... T> QStringList fields(const T&... values) {
    return {field_text(values)...};
}
