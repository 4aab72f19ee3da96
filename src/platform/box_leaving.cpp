#include "platform/box_leaving.h"

#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <map>
#include <utility>
#include <vector>

namespace platform {
namespace {

struct Judged {
    QPointer<QWidget> box;
    QPointer<QLineEdit> text;
    std::function<bool()> judge;
};

struct HeldMessage {
    QString prompt;
    int style;
    QString title;
};

bool user_input(QEvent::Type type) {
    switch (type) {
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// A key held down only to change what the next one means (Shift for a digit on a French keyboard,
// AltGr, Ctrl) or that locks it. Alt is not one where a menu bar takes it (alt_alone).
bool modifier_alone(int key) {
    switch (key) {
    case 0:
    case Qt::Key_unknown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}

// Alt pressed or released on its own. Released with nothing between, it takes the keyboard to the
// menu bar of a window that has one; with a letter it opens a menu (a shortcut, judged as such);
// held for a key of the window system (Alt+F4, Alt+Tab) it is the window system's.
bool alt_alone(const QKeyEvent& key) {
    return key.key() == Qt::Key_Alt && !(key.modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier));
}

// The menu bar that Alt released alone takes the keyboard to, in the window of `box`.
QMenuBar* alt_menu_bar(const QWidget* box) {
    for (QMenuBar* bar : box->window()->findChildren<QMenuBar*>(Qt::FindDirectChildrenOnly))
        if (bar->isVisible() && !bar->isNativeMenuBar() &&
            bar->style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, bar))
            return bar;
    return nullptr;
}

// Whatever comes between the press of Alt and its release makes it no Alt alone, as for the menu
// bar: another key, the mouse, a focus or activation change, a close.
bool ends_alt_alone(const QEvent& event) {
    switch (event.type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        return static_cast<const QKeyEvent&>(event).key() != Qt::Key_Alt;
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::ActivationChange:
    case QEvent::WindowDeactivate:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Shift+F10, the other key for the context menu on some desktops: it opens nothing here, and
// leaves nothing either. (The menu key's own press reaches the menu it opened.)
bool shift_f10(const QKeyEvent& key) {
    return key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier;
}

// A widget of the box's own context menu, or of a submenu of it: its Undo, Paste and Select All
// edit the box, and a click in it or beside it only closes the menu.
bool in_own_menu(const QWidget* text, const QWidget* at) {
    if (!at || !(at->window()->windowType() == Qt::Popup))
        return false;
    for (const QWidget* w = at; w; w = w->parentWidget())
        if (w == text)
            return true;
    return false;
}

// A key that writes a character into the box: a digit, a sign, a separator, a grouping space.
bool types_text(const QKeyEvent& key) {
    return !key.text().isEmpty() && key.text().at(0).isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Whether `box` takes `key` itself (an editing key, a copy, an undo) rather than leaving it to a
// shortcut, the menu bar or its window: asked as the toolkit asks it before any shortcut.
bool box_takes(QWidget* box, const QKeyEvent& key) {
    QKeyEvent probe(QEvent::ShortcutOverride, key.key(), key.modifiers(), key.text(),
                    key.isAutoRepeat(), key.count());
    probe.ignore();
    static_cast<QObject*>(box)->event(&probe);
    return probe.isAccepted();
}

// The control a press or a wheel reaches: a window's events come before the toolkit gives the
// focus to what is under the pointer, so they are judged there.
QWidget* reached(QObject* watched, const QPointF& position) {
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window)
        return qobject_cast<QWidget*>(watched);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window) {
            QWidget* child = top->childAt(position.toPoint());
            return child ? child : top;
        }
    return nullptr;
}

// The control that a wheel turned over `w` gives the focus to, as the toolkit chooses it.
QWidget* wheel_focus_taker(QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus)
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

class LeavingGuard : public QObject {
public:
    explicit LeavingGuard(QObject* parent) : QObject(parent) {
        qApp->installEventFilter(this);
        // The filter installed last sees an event first: once a box has the focus, this one is
        // put ahead of the filters that windows installed meanwhile (a menu bar's keys), after
        // the event that gave the focus has been through them.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (boxes_.contains(now))
                QMetaObject::invokeMethod(
                    this, [this] { qApp->installEventFilter(this); }, Qt::QueuedConnection);
        });
    }

    void add(QLineEdit* text, QObject* owner, std::function<bool()> judgement);
    bool judge_now(QLineEdit* text) {
        const auto it = boxes_.find(text->focusProxy() ? text->focusProxy() : text);
        return judging_ > 0 || it == boxes_.end() || judge(it->second);
    }
    bool judging() const { return judging_ > 0; }
    bool busy() const { return judging_ > 0 || !held_.empty() || telling_; }
    void hold(HeldMessage message) {
        held_.push_back(std::move(message));
        tell_later();
    }
    void hold_return(QLineEdit* box) {
        back_to_ = box;
        tell_later();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool judge(const Judged& judged);
    bool leaves(const Judged& judged, QObject* watched, QEvent* event) const;
    static void hand_alt_to_menu_bar(QWidget* box);
    void tell_later();
    void tell();

    std::map<QWidget*, Judged> boxes_;
    std::vector<HeldMessage> held_;
    QPointer<QLineEdit> back_to_;
    QPointer<QWidget> alt_alone_; // the box in which Alt is held alone, held back from the menu bar
    int judging_ = 0;
    bool telling_ = false;         // the held messages are queued to be told
    bool refusal_waiting_ = false; // a refusal is not told yet: the user's input goes nowhere
};

QPointer<LeavingGuard>& guard() {
    static QPointer<LeavingGuard> g;
    return g;
}

void LeavingGuard::add(QLineEdit* text, QObject* owner, std::function<bool()> judgement) {
    // A spin box takes the focus for its line edit, and its arrows are its own.
    QWidget* box = text->focusProxy() ? text->focusProxy() : text;
    boxes_[box] = {box, text, std::move(judgement)};
    connect(box, &QObject::destroyed, this, [this, box] { boxes_.erase(box); });
    const auto finished = [this, box] {
        const auto it = boxes_.find(box);
        if (it != boxes_.end())
            judge(it->second);
    };
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(box))
        connect(spin, &QAbstractSpinBox::editingFinished, owner, finished);
    else
        connect(text, &QLineEdit::editingFinished, owner, finished);
}

bool LeavingGuard::judge(const Judged& judged) {
    if (!judged.box || !judged.text || !judged.judge)
        return true;
    ++judging_;
    const bool taken = judged.judge();
    --judging_;
    if (!taken) {
        refusal_waiting_ = true;
        back_to_ = judged.text;
    }
    if (!held_.empty() || back_to_)
        tell_later();
    return taken;
}

bool LeavingGuard::leaves(const Judged& judged, QObject* watched, QEvent* event) const {
    switch (event->type()) {
    case QEvent::Shortcut: // a key the box did not take has reached a menu, an entry or a button
        return true;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        return watched == judged.box && !modifier_alone(key.key()) && !alt_alone(key) &&
               !shift_f10(key) && !types_text(key) && !box_takes(judged.box, key);
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        QWidget* at = reached(watched, static_cast<QMouseEvent*>(event)->position());
        return at != judged.text && !(at && judged.text->isAncestorOf(at)) &&
               !in_own_menu(judged.text, at) && (at || qobject_cast<QWindow*>(watched));
    }
    case QEvent::Wheel: {
        // A spin box steps from what it shows; another control takes the focus.
        const QWidget* taker =
            wheel_focus_taker(reached(watched, static_cast<QWheelEvent*>(event)->position()));
        return taker && (taker != judged.box || judged.box != judged.text);
    }
    case QEvent::Close:
        return watched == judged.box->window();
    default:
        return false;
    }
}

bool LeavingGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (alt_alone_ && ends_alt_alone(*event))
        alt_alone_ = nullptr;
    // The user's doing; what the program sends itself (a close at the end) goes its way. A
    // shortcut comes from the user's key however the toolkit passes it on.
    if (!event->spontaneous() && type != QEvent::Shortcut)
        return false;
    if (refusal_waiting_ && (user_input(type) || type == QEvent::Close)) {
        // Until the refusal has been told, what the user does goes nowhere: the rest of the key
        // or click that left the box does nothing else, and no window closes (the window system
        // may take the activation from the window before it asks to close it).
        if (type == QEvent::Close)
            event->ignore();
        else
            event->accept();
        return true;
    }
    if (judging_ > 0 || !(user_input(type) || type == QEvent::Close))
        return false;
    const auto it = boxes_.find(QApplication::focusWidget());
    if (it == boxes_.end())
        return false;
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyRelease) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (type == QEvent::ShortcutOverride && watched == it->first && alt_alone(key) &&
            alt_menu_bar(it->first)) {
            // Held back from the menu bar until it is released alone: Alt+F4 or Alt+Tab is
            // the window system's, and the box is judged when it asks to close the window.
            alt_alone_ = it->first;
            event->accept();
            return true;
        }
        if (type == QEvent::KeyRelease && key.key() == Qt::Key_Alt && alt_alone_ == it->first) {
            alt_alone_ = nullptr;
            if (judge(it->second))
                hand_alt_to_menu_bar(it->first);
            event->accept();
            return true;
        }
    }
    if (!leaves(it->second, watched, event) || judge(it->second))
        return false;
    // Refused: the event goes nowhere. An eaten shortcut key is the box's, so no shortcut takes
    // it; a refused close leaves the window open.
    if (type == QEvent::Close)
        event->ignore();
    else
        event->accept();
    return true;
}

void LeavingGuard::hand_alt_to_menu_bar(QWidget* box) {
    // The menu bar takes the keyboard on the release of an Alt it saw pressed alone: both are
    // given to it as the window system gave them, with the modifiers held before each (the
    // event adds Alt to the press and takes it from the release). The press, not taken by the
    // box, goes up to the window, where the menu bar sees it.
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    press.ignore();
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(box, &release);
}

void LeavingGuard::tell_later() {
    if (std::exchange(telling_, true))
        return;
    QTimer::singleShot(0, this, [this] { tell(); });
}

void LeavingGuard::tell() {
    telling_ = false;
    refusal_waiting_ = false;
    const std::vector<HeldMessage> messages = std::exchange(held_, {});
    const QPointer<QLineEdit> box = std::exchange(back_to_, nullptr);
    for (const HeldMessage& m : messages)
        if (!all_waits_ended())
            dialogs().message_box(m.prompt, m.style, m.title);
    // Told in an event of its own: the event that left the box has long finished.
    if (box && !hold_return_to_box(box))
        back_into_box(box);
}

} // namespace

void judge_on_leaving(QLineEdit* text, QObject* owner, std::function<bool()> judge) {
    if (!guard())
        guard() = new LeavingGuard(qApp);
    guard()->add(text, owner, std::move(judge));
}

bool judge_now(QLineEdit* text) {
    return !guard() || guard()->judge_now(text);
}

bool hold_message(const QString& prompt, int style, const QString& title) {
    // A question waits for its answer: only a message that informs can come later.
    if (!guard() || !guard()->judging() || (style & 0x7) != mb::Ok)
        return false;
    guard()->hold({prompt, style, title});
    return true;
}

bool hold_return_to_box(QLineEdit* box) {
    if (!guard() || !guard()->busy())
        return false;
    guard()->hold_return(box);
    return true;
}

} // namespace platform
