#pragma once
// The busy animation of the busy frame: a row of blocks with a bright wave running
// from the program's end to the unit's, repeating while the frame shows and still while hidden.
// Drawn here rather than played from a video file, so it needs nothing beside the program and
// follows the palette and the size the layout gives it.

#include <QWidget>

class QTimer;

class BusyAnimation : public QWidget {
    Q_OBJECT
public:
    explicit BusyAnimation(QWidget* parent = nullptr);

    // The frame now showing, 0 .. FRAMES - 1; it moves on only while the widget is visible.
    int frame() const { return frame_; }
    bool running() const;
    static constexpr int FRAMES = 24;
    static constexpr int BLOCKS = 12;

    // How bright block `block` is in frame `frame`: 1 at the crest of the wave, falling off behind
    // it, a floor of 0.15 elsewhere. Plain arithmetic for the drawing and its test.
    static double block_level(int block, int frame);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* timer_;
    int frame_ = 0;
};
