#pragma once

#include <QObject>
#include <QString>

class QMenuBar;

// A top-level menu entry that has no menu of its own (Setup, Modem, Calculator) still wants its
// Alt+letter. Texts of some languages carry no '&' for them, and the echo page's check boxes take
// letters the menu bar uses too; these helpers give every entry a key and let the menu bar win.

// The caption with a '&' before its first letter not in `taken` (compared without case), or the
// caption unchanged when it has a mnemonic already or every letter is taken.
QString with_mnemonic(const QString& caption, const QString& taken);

// The mnemonic letter of a caption ("&Setup" -> 's'), or a null character.
QChar mnemonic_of(const QString& caption);

// Gives each top-level entry, shown or not, of the bar that has no mnemonic one of its own.
void give_menu_bar_mnemonics(QMenuBar& bar);

// Sends an Alt+letter that the bar shares with a control of its window to the bar.
class MenuBarKeys : public QObject {
public:
    explicit MenuBarKeys(QMenuBar& bar);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar& bar_;
};
