#include "parameters/row_box_typing.h"

#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "platform/box_leaving.h"
#include "platform/dialogs.h"

#include <QLineEdit>
#include <utility>

RowBoxTyping::RowBoxTyping(QObject* parent) : QObject(parent) {
    // Only the page whose box has the focus puts the user back: another page shows the row too.
    refusal_follower_ = parameter_rows().add_refusal_follower([this](int P) {
        const auto it = boxes_.find(P);
        QLineEdit* box = it == boxes_.end() ? nullptr : it->second.data();
        if (box && box->window()->focusWidget() == box) {
            typed_[P] = false;
            platform::return_to_box(box);
        }
    });
}

RowBoxTyping::~RowBoxTyping() {
    parameter_rows().remove_refusal_follower(refusal_follower_);
}

void RowBoxTyping::follow(int P, QLineEdit* box) {
    boxes_[P] = box;
    connect(box, &QLineEdit::textEdited, this, [this, P](const QString& text) {
        ensure_parameter_rows(); // a box may be typed into before any set is loaded
        typed_[P] = true;
        parameter_rows().set_typed_text(P, text);
    });
    platform::judge_on_leaving(box, this, [this, P] {
        return !std::exchange(typed_[P], false) || parameter_rows().commit(P);
    });
}
