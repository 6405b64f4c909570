#pragma once

#include "media/Bitmap24.h"
#include "media/TAVProbe.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QWidget;
class PlaybackSession;
class VideoSurface;

enum TPlayState { psPlay = 0, psPause = 1, psResume = 2, psStep = 3, psStop = 4, psEnd = 5 };

// A media player for the preview panes. It plays one file at a time into a
// widget: pictures are decoded on a thread of its own, optionally handed to
// OnHook there, and painted on the GUI thread scaled to the screen size chosen
// when the file opened; sound goes to an SDL audio device whose progress is
// the clock the pictures follow. Every operation is called on the GUI thread,
// and every event except OnHook arrives there.
class TFFPlayer : public QObject {
    Q_OBJECT
public:
    // The screen size arrives holding the widget's size; a handler may set it
    // to the size the picture should be scaled to.
    using TFileOpenEvent = std::function<void(int64_t ADuration, int AFrameWidth, int AFrameHeight,
                                              int& AScreenWidth, int& AScreenHeight)>;
    using TPositionEvent = std::function<void(int64_t APTS)>;
    using TStateEvent = std::function<void(TPlayState AState)>;
    using THookEvent = std::function<void(Bitmap24& ABitmap, int64_t APTS)>;

    // SeekTo flag for an exact seek to any frame (FFmpeg's AVSEEK_FLAG_ANY).
    static constexpr int kSeekAnyFrame = 4;

    explicit TFFPlayer(QObject* parent = nullptr);
    ~TFFPlayer() override;

    static bool LibrariesLoaded();
    static bool LoadLibraries(const QString& folder);

    // Closes what was open, opens the file and starts playing into screen
    // (null: play without painting, e.g. for the hook alone). OnFileOpen has run
    // and the first picture is current when this returns true; on failure
    // nothing is raised, the player is idle and LastErrMsg says why.
    bool OpenAndPlay(const QString& fileName, QWidget* screen);
    void PausePlayback();
    void ResumePlayback();
    // flags: 0, or kSeekAnyFrame; both land on the picture at the position
    // (decoding from the key frame before it). The position is clamped to the
    // file's length. With wait, returns once that picture is current.
    void SeekTo(int flags, bool wait, int64_t position);
    // With wait, returns when every thread of the playback is gone.
    void ClosePlayback(bool wait);

    // A copy of the picture on screen at frame size; 0 x 0 when none.
    Bitmap24 CurrentPicture() const;
    // Microseconds from the start of the file of the picture on screen (of the
    // sound heard, for a file without pictures); -1 before the first.
    int64_t CurrentPosition() const;
    bool IsPausedOrIdle() const;
    // The probe of the open file; loaded from OnFileOpen until the file closes.
    TAVProbe* AVProbe() { return &probe_; }
    QString LastErrMsg() const { return lastError_; }

    int AudioVolume() const { return volume_; }
    void SetAudioVolume(int volume); // 0..128
    bool Mute() const { return mute_; }
    void SetMute(bool mute);
    bool Hook() const { return hook_; }
    void SetHook(bool hook) { hook_ = hook; }
    bool TriggerEventInMainThread() const { return triggerInMainThread_; }
    // False raises the end-of-file state on the playback thread that saw the end.
    void SetTriggerEventInMainThread(bool value) { triggerInMainThread_ = value; }

    TFileOpenEvent OnFileOpen;
    TPositionEvent OnPosition;
    TStateEvent OnState;
    // OnHook runs on the decoding thread. Replacing it waits for a call in
    // progress to return, so a handler detached here is not running afterwards.
    void SetOnHook(THookEvent handler);

private:
    bool RunHook(Bitmap24& bitmap, int64_t pts);
    void RaiseState(TPlayState state);
    void EmitPosition();
    void PictureShown(uint64_t id);
    void Ended(uint64_t id);
    void JoinClosed();

    TAVProbe probe_;
    std::unique_ptr<PlaybackSession> session_;
    uint64_t sessionId_ = 0; // GUI thread only; events of older sessions are dropped
    QPointer<VideoSurface> surface_;
    QTimer positionTimer_;
    int64_t lastPosition_ = -1;
    bool paused_ = false;
    QString lastError_;
    std::vector<std::thread> closing_;

    int volume_ = 128;
    bool mute_ = false;
    std::atomic<bool> hook_{false};
    std::atomic<bool> triggerInMainThread_{true};
    std::atomic<bool> repaintPosted_{false};
    std::mutex hookMutex_;
    THookEvent onHook_;
};
