#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class MediaPlayer;
class QLabel;
class QSlider;
class QTimer;
class QToolButton;

// The player's own area: the video picture and, below it, the player's own controls (play /
// pause, position, volume, time). The controls act on the player directly; they are not the
// window's transport commands. A player error met by a control is handed to the error
// reporter, never thrown into Qt.
class PlayerView : public QWidget {
    Q_OBJECT
public:
    using ErrorReporter = std::function<void(const QString& message)>;

    PlayerView(MediaPlayer& player, ErrorReporter reportError, QWidget* parent = nullptr);
    ~PlayerView() override;

    // The native window the video is drawn into, for MediaPlayer::setVideoWindow; 0 where the
    // platform has no X11 windows (offscreen, Wayland). The view detaches it when destroyed.
    quintptr videoWindowId();

    QSize sizeHint() const override { return {371, 265}; }

public Q_SLOTS:
    void refresh();  // reads the player into the controls

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <typename Action>
    void guarded(Action&& action);
    void togglePlay();
    void seekToSlider();
    void volumeFromSlider();
    void refreshSoon();

    QPointer<MediaPlayer> player_;
    ErrorReporter reportError_;
    QWidget* video_ = nullptr;
    QToolButton* playButton_ = nullptr;
    QSlider* positionSlider_ = nullptr;
    QSlider* volumeSlider_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    bool refreshQueued_ = false;
    bool refreshFailed_ = false;  // report a failing refresh once, not every tick
    bool windowHandedOut_ = false;
    int shownSymbol_ = -1;  // the play (0) or pause (1) symbol on the button, -1 before the first
};
