#include "shell/list_control.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace {
int entry_to_select(const QStringList& items, const QString& select_text, int16_t index) {
    if (select_text == QLatin1String(NO_INDEX))
        return index >= 0 && index < items.size() ? index : -1;
    return static_cast<int>(items.indexOf(select_text)); // exact, case-sensitive
}
} // namespace

void fill_list_control(QComboBox& list, const QStringList& items, const QString& select_text,
                       int16_t index) {
    {
        // A combo box selects its first entry by itself while filling; that is not a choice.
        const QSignalBlocker quiet(list);
        list.clear();
        list.addItems(items);
        list.setCurrentIndex(-1);
    }
    const int entry = entry_to_select(items, select_text, index);
    if (entry >= 0)
        list.setCurrentIndex(entry);
}

void fill_list_control(QListWidget& list, const QStringList& items, const QString& select_text,
                       int16_t index) {
    {
        const QSignalBlocker quiet(list);
        list.clear();
        list.addItems(items);
        list.setCurrentRow(-1);
    }
    const int entry = entry_to_select(items, select_text, index);
    if (entry >= 0)
        list.setCurrentRow(entry);
}
