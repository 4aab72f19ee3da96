#include "parameters/parameter_rows.h"

#include <utility>

namespace {
const ParameterRow& empty_row() {
    static const ParameterRow r;
    return r;
}
} // namespace

void ParameterRows::create_row(int P) {
    if (P < FIRST || P > LAST)
        return;
    rows_[static_cast<size_t>(P)].exists = true;
}

void ParameterRows::create_rows(const std::vector<int>& numbers) {
    for (int P : numbers)
        create_row(P);
    if (rows_created)
        rows_created();
}

void ParameterRows::remove_all_rows() {
    rows_.fill(ParameterRow{});
    switches_.clear();
    pending_.clear();
    pending_flag_.fill(false);
    typed_.fill(false);
    before_typing_.fill(QString());
}

bool ParameterRows::has_row(int P) const {
    return P >= FIRST && P <= LAST && rows_[static_cast<size_t>(P)].exists;
}

std::vector<int> ParameterRows::numbers() const {
    std::vector<int> out;
    for (int P = FIRST; P <= LAST; ++P)
        if (rows_[static_cast<size_t>(P)].exists)
            out.push_back(P);
    return out;
}

const ParameterRow& ParameterRows::row(int P) const {
    return has_row(P) ? rows_[static_cast<size_t>(P)] : empty_row();
}

ParameterRow* ParameterRows::writable(int P) {
    return has_row(P) ? &rows_[static_cast<size_t>(P)] : nullptr;
}

void ParameterRows::changed(int P) {
    if (suspended_ > 0) {
        if (!pending_flag_[static_cast<size_t>(P)]) {
            pending_flag_[static_cast<size_t>(P)] = true;
            pending_.push_back(P);
        }
        return;
    }
    report(P);
}

void ParameterRows::report(int P) {
    if (row_changed)
        row_changed(P);
    for (const auto& [key, follower] : followers_)
        follower(P);
}

int ParameterRows::add_follower(Followers& to, std::function<void(int)> follower) {
    if (!follower)
        return -1;
    to[next_follower_] = std::move(follower);
    return next_follower_++;
}

int ParameterRows::add_row_follower(std::function<void(int)> follower) {
    return add_follower(followers_, std::move(follower));
}

void ParameterRows::remove_row_follower(int key) {
    followers_.erase(key);
}

int ParameterRows::add_refusal_follower(std::function<void(int)> follower) {
    return add_follower(refusal_followers_, std::move(follower));
}

void ParameterRows::remove_refusal_follower(int key) {
    refusal_followers_.erase(key);
}

void ParameterRows::set_text(int P, const QString& text) {
    ParameterRow* r = writable(P);
    if (!r || r->text == text)
        return;
    r->text = text;
    changed(P);
    if (change_handler)
        change_handler(P);
}

void ParameterRows::set_typed_text(int P, const QString& text) {
    if (ParameterRow* r = writable(P)) {
        if (!typed_[static_cast<size_t>(P)])
            before_typing_[static_cast<size_t>(P)] = r->text;
        r->text = text;
        typed_[static_cast<size_t>(P)] = true;
    }
}

const QString& ParameterRows::text_before_typing(int P) const {
    static const QString none;
    return has_row(P) ? before_typing_[static_cast<size_t>(P)] : none;
}

bool ParameterRows::commit(int P) {
    // The message that refuses the text takes the focus from the box, and the box's leaving
    // would check the refused text a second time.
    if (!has_row(P) || committing_ == P)
        return true;
    typed_[static_cast<size_t>(P)] = false;
    bool accepted = true;
    const int outer = std::exchange(committing_, P);
    if (commit_handler)
        accepted = commit_handler(P);
    else if (change_handler)
        change_handler(P);
    committing_ = outer;
    // What the page shows beside the box (the chosen code's meaning) follows the typed text even
    // when the check changed nothing else of the row.
    changed(P);
    return accepted;
}

bool ParameterRows::commit_pending() {
    bool accepted = true;
    for (int P = FIRST; P <= LAST; ++P)
        if (typed_[static_cast<size_t>(P)] && !commit(P)) {
            accepted = false;
            for (const auto& [key, follower] : refusal_followers_)
                follower(P);
        }
    return accepted;
}

#define ROW_SETTER(name, field, type)                                                              \
    void ParameterRows::name(int P, type value) {                                                  \
        ParameterRow* r = writable(P);                                                             \
        if (!r || r->field == value)                                                               \
            return;                                                                                \
        r->field = value;                                                                          \
        changed(P);                                                                                \
    }
ROW_SETTER(set_visible, visible, bool)
ROW_SETTER(set_locked, locked, bool)
ROW_SETTER(set_back_colour, back_colour, uint32_t)
ROW_SETTER(set_fore_colour, fore_colour, uint32_t)
ROW_SETTER(set_bold, bold, bool)
ROW_SETTER(set_tooltip, tooltip, const QString&)
ROW_SETTER(set_tag, tag, const QString&)
ROW_SETTER(set_label_visible, label_visible, bool)
ROW_SETTER(set_caption, caption, const QString&)
#undef ROW_SETTER

void ParameterRows::set_switch(const QString& name, bool on) {
    const auto it = switches_.find(name);
    if (it != switches_.end() && it->second == on)
        return;
    switches_[name] = on;
    if (switch_changed)
        switch_changed(name, on);
}

void ParameterRows::snapshot(Snapshot& into) const {
    into.rows.assign(rows_.begin(), rows_.end());
    into.switches = switches_;
}

void ParameterRows::restore(const Snapshot& s) {
    for (size_t P = 0; P < rows_.size() && P < s.rows.size(); ++P) {
        if (rows_[P] == s.rows[P])
            continue;
        rows_[P] = s.rows[P];
        changed(static_cast<int>(P));
    }
    const std::map<QString, bool> now = switches_;
    for (const auto& [name, on] : now)
        if (!s.switches.contains(name))
            set_switch(name, true); // a switch never set reads as shown
    for (const auto& [name, on] : s.switches)
        set_switch(name, on);
}

bool ParameterRows::switch_on(const QString& name) const {
    const auto it = switches_.find(name);
    return it == switches_.end() || it->second;
}

void ParameterRows::suspend_updates() {
    ++suspended_;
}

void ParameterRows::resume_updates() {
    if (suspended_ == 0 || --suspended_ > 0)
        return;
    std::vector<int> rows;
    rows.swap(pending_);
    if (batch)
        batch(true);
    for (int P : rows) {
        pending_flag_[static_cast<size_t>(P)] = false;
        report(P);
    }
    if (batch)
        batch(false);
}

ParameterRows& parameter_rows() {
    static ParameterRows rows;
    return rows;
}

void reset_parameter_rows() {
    ParameterRows& r = parameter_rows();
    r.remove_all_rows();
    r.change_handler = nullptr;
    r.commit_handler = nullptr;
    r.row_changed = nullptr;
    r.switch_changed = nullptr;
    r.rows_created = nullptr;
    r.batch = nullptr;
    r.followers_.clear();
    r.refusal_followers_.clear();
}
