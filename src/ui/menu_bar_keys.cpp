#include "ui/menu_bar_keys.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QShortcutEvent>
#include <QWidget>

QChar mnemonic_of(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) != QLatin1Char('&'))
            return caption.at(i + 1).toLower();
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

QString with_mnemonic(const QString& caption, const QString& taken) {
    if (!mnemonic_of(caption).isNull())
        return caption;
    const QString used = taken.toLower();
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if (c.isLetter() && !used.contains(c.toLower()))
            return caption.left(i) + QLatin1Char('&') + caption.mid(i);
    }
    return caption;
}

namespace {

bool on_bar(const QAction* a) {
    return !a->isSeparator() && !a->text().isEmpty();
}

} // namespace

void give_menu_bar_mnemonics(QMenuBar& bar) {
    QString taken;
    for (const QAction* a : bar.actions())
        if (on_bar(a) && !mnemonic_of(a->text()).isNull())
            taken += mnemonic_of(a->text());
    for (QAction* a : bar.actions()) {
        if (!on_bar(a) || !mnemonic_of(a->text()).isNull())
            continue;
        const QString text = with_mnemonic(a->text(), taken);
        if (text == a->text())
            continue;
        taken += mnemonic_of(text);
        if (a->menu())
            a->menu()->setTitle(text);
        else
            a->setText(text);
    }
}

MenuBarKeys::MenuBarKeys(QMenuBar& bar) : QObject(&bar), bar_(bar) {
    qApp->installEventFilter(this);
}

bool MenuBarKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Shortcut)
        return false;
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    auto* target = qobject_cast<QWidget*>(watched);
    // Only a key that several owners share comes here ambiguous; the bar handles its own.
    if (!shortcut->isAmbiguous() || !target || target == &bar_ ||
        target->window() != bar_.window() || shortcut->key().count() != 1)
        return false;
    const QKeyCombination key = shortcut->key()[0];
    if (key.keyboardModifiers() != Qt::AltModifier)
        return false;
    const QString letter = QKeySequence(key.key()).toString().toLower();
    if (letter.size() != 1)
        return false;
    for (QAction* a : bar_.actions()) {
        if (!on_bar(a) || !a->isVisible() || !a->isEnabled() || mnemonic_of(a->text()) != letter.at(0))
            continue;
        if (a->menu())
            bar_.setActiveAction(a);
        else
            a->trigger();
        return true;
    }
    return false;
}
