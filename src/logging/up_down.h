#pragma once
// A pair of arrow buttons that step the number in a buddy text box. The buddy's own change
// handler does the rest, so a step and a typed number take the same path.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace logsetup {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void set_buddy(QLineEdit* buddy) { buddy_ = buddy; }
    void set_range(double minimum, double maximum);
    void set_increment(double increment) { increment_ = increment; }
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }

    // One step up (+1) or down (-1) from the buddy's number, kept inside the range.
    void step(int direction);

    QToolButton* up_button() const { return up_; }
    QToolButton* down_button() const { return down_; }

private:
    QLineEdit* buddy_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    double minimum_ = 0;
    double maximum_ = 100;
    double increment_ = 1;
};

} // namespace logsetup
