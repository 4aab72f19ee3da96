#pragma once
// A label for text that comes and goes with the unit (its clock, a status line): it asks from the
// start for the room of the widest such text and for a line's height, in its font as start-up
// scaling and page fitting leave it, so that the text's arrival or its clearing moves nothing
// under the user's mouse. A longer text is cut rather than let widen the page. Its text is plain
// text, shown as it stands.

#include <QLabel>

class ReadOutLabel : public QLabel {
public:
    // `widest`: the widest text the label is to show whole; empty for a label as wide as its
    // text, which keeps only its height.
    explicit ReadOutLabel(QWidget* parent, QString widest = {});

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    QString widest_;
};
