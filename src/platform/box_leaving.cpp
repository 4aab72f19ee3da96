#include "platform/box_leaving.h"

#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
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

// A key held down only to change what the next one means. Alt is not one: released on its own
// it takes the keyboard to the menu bar, and with a letter it opens a menu.
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
    void tell_later();
    void tell();

    std::map<QWidget*, Judged> boxes_;
    std::vector<HeldMessage> held_;
    QPointer<QLineEdit> back_to_;
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
        return watched == judged.box && !modifier_alone(key.key()) && !types_text(key) &&
               !box_takes(judged.box, key);
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        QWidget* at = reached(watched, static_cast<QMouseEvent*>(event)->position());
        return at != judged.text && !(at && judged.text->isAncestorOf(at)) &&
               (at || qobject_cast<QWindow*>(watched));
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
    // The user's doing; what the program sends itself (a close at the end) goes its way. A
    // shortcut comes from the user's key however the toolkit passes it on.
    if (!event->spontaneous() && type != QEvent::Shortcut)
        return false;
    if (refusal_waiting_ && user_input(type)) {
        // Until the refusal has been told, what the user does goes nowhere: the rest of the key
        // or click that left the box does nothing else.
        event->accept();
        return true;
    }
    if (judging_ > 0 || !(user_input(type) || type == QEvent::Close))
        return false;
    const auto it = boxes_.find(QApplication::focusWidget());
    if (it == boxes_.end() || !leaves(it->second, watched, event) || judge(it->second))
        return false;
    // Refused: the event goes nowhere. An eaten shortcut key is the box's, so no shortcut takes
    // it; a refused close leaves the window open.
    if (type == QEvent::Close)
        event->ignore();
    else
        event->accept();
    return true;
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
