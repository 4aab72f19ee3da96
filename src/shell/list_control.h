#pragma once
// Filling a list or combo box from an array of texts and selecting an entry.

#include <QString>
#include <QStringList>
#include <cstdint>

class QComboBox;
class QListWidget;

// Select by index instead of by text.
inline constexpr const char* NO_INDEX = "#NoIndex";

// Clears `list`, adds `items` in order, then selects the first entry whose text equals
// `select_text` exactly, or, when `select_text` is NO_INDEX, the entry `index` (nothing when
// index < 0). The selection is made as a user's would be, so the list's change signal
// (currentIndexChanged / currentRowChanged) fires once for it; filling fires nothing.
void fill_list_control(QComboBox& list, const QStringList& items, const QString& select_text,
                       int16_t index);
void fill_list_control(QListWidget& list, const QStringList& items, const QString& select_text,
                       int16_t index);
