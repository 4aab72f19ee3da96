#pragma once
// The user's typing into boxes that show parameter rows, wherever a page shows them: what is typed
// goes into the row and is checked when the user leaves the box (ParameterRows::commit, before
// the event that leaves it: platform::judge_on_leaving). A text refused then, or by a key that
// checked what was still being typed (ParameterRows::commit_pending), puts the user back into the
// box with its text selected.

#include <QObject>
#include <QPointer>
#include <map>

class QLineEdit;

class RowBoxTyping : public QObject {
public:
    explicit RowBoxTyping(QObject* parent = nullptr);
    ~RowBoxTyping() override;

    // `box` shows row P.
    void follow(int P, QLineEdit* box);

private:
    std::map<int, QPointer<QLineEdit>> boxes_;
    std::map<int, bool> typed_; // the user typed into the box of P and has not left it
    int refusal_follower_ = -1;
};
