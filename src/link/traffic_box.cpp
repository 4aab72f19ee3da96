#include "link/traffic_box.h"

#include "link/terminal_keys.h"
#include "link/traffic_log.h"

#include <QKeyEvent>
#include <QScrollBar>

TrafficBox::TrafficBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setUndoRedoEnabled(false);
}

void TrafficBox::bind(TrafficView* view) {
    if (view_)
        disconnect(view_, nullptr, this, nullptr);
    view_ = view;
    clear();
    after_cr_ = false;
    if (!view_)
        return;
    show_text(view_->text(), false);
    connect(view_, &TrafficView::appended, this,
            [this](const QString& s, bool sent) { show_text(s, sent); });
    connect(view_, &TrafficView::cleared, this, [this] {
        clear();
        after_cr_ = false;
    });
}

// The unit ends lines with CR, LF or both, possibly cut between two batches; each line end
// shows as one line break.
void TrafficBox::show_text(const QString& s, bool sent) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c == QLatin1Char('\n') && after_cr_) {
            after_cr_ = false;
            continue;
        }
        after_cr_ = c == QLatin1Char('\r');
        out += (c == QLatin1Char('\r')) ? QLatin1Char('\n') : c;
    }
    if (out.isEmpty())
        return;
    QScrollBar* bar = verticalScrollBar();
    const bool follow = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setFontWeight(sent ? QFont::Bold : QFont::Normal);
    cursor.insertText(out, format);
    if (follow)
        bar->setValue(bar->maximum());
}

void TrafficBox::keyPressEvent(QKeyEvent* event) {
    if (escape_to_window_ && event->key() == Qt::Key_Escape &&
        event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    const std::optional<char> byte =
        terminal_key_byte(event->key(), static_cast<int>(event->modifiers()), event->text());
    if (!byte) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Ctrl+C still copies what is selected; the unit gets its code all the same.
    if (event->matches(QKeySequence::Copy) && textCursor().hasSelection())
        copy();
    emit key_typed(*byte);
}
