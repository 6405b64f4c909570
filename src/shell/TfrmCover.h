#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

// The borderless cover shown while the program starts. It closes itself at
// the first tick of its one-second timer at which the main window shows.
class TfrmCover : public QWidget {
    Q_OBJECT
public:
    explicit TfrmCover(QWidget* parent = nullptr);

    // The window whose showing ends the cover.
    void WatchMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    bool HasLoadedPicture() const { return loadedPicture_; }
    void tmr1Timer();

    // The cover picture's file: skin/varnelcover.jpg beside the program.
    static QString CoverPicturePath();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* imgCover;
    QTimer* tmr1;
    QPointer<QWidget> mainWindow_;
    bool loadedPicture_ = false;
};
