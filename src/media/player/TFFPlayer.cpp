#include "media/player/TFFPlayer.h"

#include "media/TFFmpegLoader.h"
#include "media/player/PlaybackSession.h"
#include "media/player/VideoSurface.h"

#include <QWidget>

#include <algorithm>
#include <exception>

namespace {

std::atomic<bool> gLibrariesLoaded{false};
// Long enough for any file the program opens to show its first picture, short
// enough that a wedged file cannot freeze the window.
constexpr int kFirstPictureTimeoutMs = 2000;
constexpr int kSeekTimeoutMs = 5000;

} // namespace

TFFPlayer::TFFPlayer(QObject* parent) : QObject(parent)
{
    // Pictures raise positions as they are shown; the timer covers files
    // without pictures.
    positionTimer_.setInterval(100);
    connect(&positionTimer_, &QTimer::timeout, this, [this] { EmitPosition(); });
}

TFFPlayer::~TFFPlayer()
{
    OnFileOpen = nullptr;
    OnPosition = nullptr;
    OnState = nullptr;
    ClosePlayback(true);
    JoinClosed();
}

bool TFFPlayer::LibrariesLoaded() { return gLibrariesLoaded; }

bool TFFPlayer::LoadLibraries(const QString& folder)
{
    const bool ok = TFFmpegLoader::LoadLibraries(folder);
    gLibrariesLoaded = ok;
    return ok;
}

bool TFFPlayer::OpenAndPlay(const QString& fileName, QWidget* screen)
{
    ClosePlayback(true);
    JoinClosed();
    lastError_.clear();
    if (!LibrariesLoaded() && !LoadLibraries({})) {
        lastError_ = TFFmpegLoader::LastLoadError();
        return false;
    }
    if (!probe_.LoadFile(fileName)) {
        lastError_ = probe_.LastErrMsg();
        return false;
    }
    QString error;
    std::unique_ptr<PlaybackSession> session = PlaybackSession::Open(fileName, error);
    if (!session) {
        probe_.CloseFile();
        lastError_ = error;
        return false;
    }

    int screenWidth = screen ? screen->width() : -1;
    int screenHeight = screen ? screen->height() : -1;
    if (OnFileOpen) {
        const TFileOpenEvent handler = OnFileOpen;
        handler(session->Duration(), session->FrameWidth(), session->FrameHeight(), screenWidth, screenHeight);
    }
    QSize screenSize;
    std::shared_ptr<ScreenImage> screenImage;
    if (screen && session->HasVideo()) {
        screenSize = screenWidth > 0 && screenHeight > 0 ? QSize(screenWidth, screenHeight) : screen->size();
        screenImage = std::make_shared<ScreenImage>();
        surface_ = new VideoSurface(screen, screenImage);
    }

    const uint64_t id = ++sessionId_;
    PlaybackSession::Callbacks callbacks;
    callbacks.pictureShown = [this, id] {
        if (repaintPosted_.exchange(true)) return;
        QMetaObject::invokeMethod(this, [this, id] { PictureShown(id); }, Qt::QueuedConnection);
    };
    callbacks.ended = [this, id] {
        if (triggerInMainThread_) {
            QMetaObject::invokeMethod(this, [this, id] { Ended(id); }, Qt::QueuedConnection);
        } else if (const TStateEvent handler = OnState) {
            handler(psEnd);
        }
    };
    callbacks.hook = [this](Bitmap24& bitmap, int64_t pts) { return RunHook(bitmap, pts); };

    session_ = std::move(session);
    paused_ = false;
    lastPosition_ = -1;
    session_->Start(screenSize, std::move(screenImage), std::move(callbacks), volume_, mute_);
    session_->WaitFirstPicture(kFirstPictureTimeoutMs);
    positionTimer_.start();
    RaiseState(psPlay);
    return true;
}

void TFFPlayer::PausePlayback()
{
    if (!session_ || paused_) return;
    paused_ = true;
    session_->SetPaused(true);
    RaiseState(psPause);
}

void TFFPlayer::ResumePlayback()
{
    if (!session_ || !paused_) return;
    paused_ = false;
    session_->SetPaused(false);
    RaiseState(psResume);
}

void TFFPlayer::SeekTo(int flags, bool wait, int64_t position)
{
    (void)flags; // every seek is exact; see the header
    if (!session_) return;
    const int64_t duration = session_->Duration();
    const int64_t target = std::clamp<int64_t>(position, 0, duration > 0 ? duration : INT64_MAX);
    const int serial = session_->Seek(target);
    if (wait) {
        session_->WaitSeek(serial, kSeekTimeoutMs);
        EmitPosition();
    }
}

void TFFPlayer::ClosePlayback(bool wait)
{
    if (!session_) return;
    positionTimer_.stop();
    ++sessionId_;
    delete surface_.data();
    repaintPosted_ = false;
    session_->RequestStop();
    if (wait) {
        session_->Join();
        session_.reset();
    } else {
        // SDL's devices are opened and closed on this thread only.
        session_->CloseAudio();
        // The threads are already told to stop; they are joined off the GUI
        // thread, and at the latest before the next file opens.
        closing_.emplace_back([s = std::shared_ptr<PlaybackSession>(std::move(session_))] { s->Join(); });
    }
    probe_.CloseFile();
    paused_ = false;
    lastPosition_ = -1;
    RaiseState(psStop);
}

void TFFPlayer::JoinClosed()
{
    for (std::thread& t : closing_) t.join();
    closing_.clear();
}

Bitmap24 TFFPlayer::CurrentPicture() const { return session_ ? session_->CurrentPicture() : Bitmap24(); }

int64_t TFFPlayer::CurrentPosition() const { return session_ ? session_->CurrentPosition() : -1; }

bool TFFPlayer::IsPausedOrIdle() const { return !session_ || paused_; }

void TFFPlayer::SetAudioVolume(int volume)
{
    volume_ = std::clamp(volume, 0, 128);
    if (session_) session_->SetVolume(volume_);
}

void TFFPlayer::SetMute(bool mute)
{
    mute_ = mute;
    if (session_) session_->SetMute(mute_);
}

void TFFPlayer::SetOnHook(THookEvent handler)
{
    std::lock_guard lock(hookMutex_);
    onHook_ = std::move(handler);
}

bool TFFPlayer::RunHook(Bitmap24& bitmap, int64_t pts)
{
    if (!hook_) return true;
    std::lock_guard lock(hookMutex_);
    if (!onHook_) return true;
    try {
        onHook_(bitmap, pts);
        return true;
    } catch (const std::exception& e) {
        qWarning("%s", qPrintable(QStringLiteral("Error occurs OnHook: ") + QString::fromUtf8(e.what())));
    } catch (...) {
        qWarning("Error occurs OnHook: unknown exception");
    }
    return false;
}

void TFFPlayer::RaiseState(TPlayState state)
{
    if (const TStateEvent handler = OnState) handler(state);
}

void TFFPlayer::EmitPosition()
{
    if (!session_) return;
    const int64_t position = session_->CurrentPosition();
    if (position < 0 || position == lastPosition_) return;
    lastPosition_ = position;
    if (const TPositionEvent handler = OnPosition) handler(position);
}

void TFFPlayer::PictureShown(uint64_t id)
{
    repaintPosted_ = false;
    if (id != sessionId_) return;
    if (surface_) surface_->update();
    EmitPosition();
}

void TFFPlayer::Ended(uint64_t id)
{
    if (id != sessionId_ || !session_) return;
    EmitPosition();
    RaiseState(psEnd);
}
