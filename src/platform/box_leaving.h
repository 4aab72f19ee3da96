#pragma once
// Boxes whose typing is judged when the user leaves them, with the refusal told only once the
// event that was leaving the box has finished.
//
// A box registers its judge (judge_on_leaving). While the box has the focus, an application-wide
// filter judges it before every event that would take the user elsewhere: a mouse press or
// double-click anywhere but in the box's own text (a spin box's arrows, a tab, a menu, a toolbar
// key, another window), a key the box does not take itself (Tab, Enter, Escape, the arrow keys,
// Alt and the menu letters, a shortcut), a wheel that would step the box or give another control
// the focus, and the close of the box's window. When the box takes what was typed, the event goes
// on as usual. When it refuses, the event is eaten, and so is whatever the user does until the
// refusal has been told: the key or click that left the box does nothing else (no menu opens, no
// arrow repeats, no dialog opens or closes). The messages come after the event, in order and
// once, and then the user is back in the box with its text selected.
//
// The box's own end of editing (editingFinished: the window losing the activation, the program
// hiding the box, Enter) judges it as well, its messages told the same way. While a box is
// judged, msg_box holds back each message that only informs (OK alone) and return_to_box the
// return, so the rules that judge keep telling through msg_box.

#include <QString>
#include <functional>

class QLineEdit;
class QObject;

namespace platform {

// `judge` judges what the user typed into `text` since it was last judged: true when it took it,
// or when nothing was typed; false when it refused it, told why through msg_box and put back the
// last value the box took. The box is `text`, or the spin box whose line edit it is (a press on
// the spin box's arrows then leaves the text). The judge is not run from the box's end of editing
// once `owner` is gone, nor from the filter once the box is.
void judge_on_leaving(QLineEdit* text, QObject* owner, std::function<bool()> judge);

// Judges the box whose text is `text` at once, as leaving it would, before a step the box takes
// on its own (a spin box's menu): true when it took what was typed, or when it is no judged box.
// A refusal is told once the event being handled has finished.
bool judge_now(QLineEdit* text);

// Used by msg_box: while a box is judged, a message that only informs is held back until the
// event being handled has finished; true when it was.
bool hold_message(const QString& prompt, int style, const QString& title);
// Used by return_to_box: while a box is judged or messages are held back, the return to `box`
// waits until they have been told; true when it does.
bool hold_return_to_box(QLineEdit* box);
// The return itself, once nothing is left to tell: the box's page in view, the box in its active
// window with the focus, its text selected.
void back_into_box(QLineEdit* box);

} // namespace platform
