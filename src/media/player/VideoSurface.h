#pragma once

#include "media/player/PlaybackSession.h"

#include <QWidget>

#include <memory>

// Lies over the widget the player was given and paints the current picture
// there, centred, on the GUI thread. Mouse input passes through to the widget
// underneath. It follows the widget's size and goes away with it.
class VideoSurface : public QWidget {
public:
    VideoSurface(QWidget* target, std::shared_ptr<ScreenImage> image);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<ScreenImage> image_;
};
