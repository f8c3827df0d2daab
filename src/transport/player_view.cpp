#include "transport/player_view.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

#include "transport/media_player.h"

namespace {

constexpr int kRefreshMs = 250;

// The position slider counts milliseconds.
int sliderUnits(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    return static_cast<int>(std::min(std::round(seconds * 1000.0), double(INT_MAX)));
}

// Only an X11 window id means anything to mpv's "wid".
bool platformHasX11Windows() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

}  // namespace

template <typename Action>
void PlayerView::guarded(Action&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        if (reportError_) reportError_(QString::fromUtf8(e.what()));
    } catch (...) {
        if (reportError_) reportError_(QStringLiteral("Unknown player error"));
    }
    refresh();
}

PlayerView::PlayerView(MediaPlayer& player, ErrorReporter reportError, QWidget* parent)
    : QWidget(parent), player_(&player), reportError_(std::move(reportError)) {
    // The surface is the only child of its frame: Qt makes the siblings of a native widget
    // native too, and the controls are better off without.
    auto* frame = new QWidget(this);
    frame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    video_ = new QWidget(frame);
    frameLayout->addWidget(video_);
    video_->setObjectName(QStringLiteral("videoSurface"));
    video_->setAutoFillBackground(true);
    QPalette black = video_->palette();
    black.setColor(QPalette::Window, Qt::black);
    video_->setPalette(black);
    video_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    if (platformHasX11Windows()) {
        // mpv draws into a child of this window. Its ancestors become native windows too: a
        // native window inside non-native ones is not moved when the layout moves them, and the
        // picture would stay where the view was before the window was first laid out.
        video_->setAttribute(Qt::WA_NativeWindow);
    }

    playButton_ = new QToolButton(this);
    playButton_->setObjectName(QStringLiteral("playButton"));
    playButton_->setAutoRaise(true);
    playButton_->setFocusPolicy(Qt::NoFocus);

    positionSlider_ = new QSlider(Qt::Horizontal, this);
    positionSlider_->setObjectName(QStringLiteral("positionSlider"));
    positionSlider_->setToolTip(QStringLiteral("再生位置"));
    positionSlider_->setAccessibleName(QStringLiteral("再生位置"));
    positionSlider_->setSingleStep(1000);
    positionSlider_->setPageStep(5000);

    volumeSlider_ = new QSlider(Qt::Horizontal, this);
    volumeSlider_->setObjectName(QStringLiteral("volumeSlider"));
    volumeSlider_->setToolTip(QStringLiteral("音量"));
    volumeSlider_->setAccessibleName(QStringLiteral("音量"));
    volumeSlider_->setRange(0, 100);
    volumeSlider_->setPageStep(10);
    volumeSlider_->setFixedWidth(80);

    timeLabel_ = new QLabel(this);
    timeLabel_->setObjectName(QStringLiteral("timeLabel"));
    // The inherited font may be sized in pixels (point size -1) or in points.
    QFont small = timeLabel_->font();
    if (small.pixelSize() > 0)
        small.setPixelSize(std::max(8, small.pixelSize() * 85 / 100));
    else if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.85);
    timeLabel_->setFont(small);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(2, 0, 2, 2);
    buttons->addWidget(playButton_);
    buttons->addWidget(timeLabel_);
    buttons->addStretch();
    buttons->addWidget(volumeSlider_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(frame, 1);
    layout->addWidget(positionSlider_);
    layout->addLayout(buttons);

    // actionTriggered comes from the user only (mouse, keys, wheel), never from refresh().
    connect(playButton_, &QToolButton::clicked, this,
            [this] { guarded([this] { togglePlay(); }); });
    connect(positionSlider_, &QSlider::actionTriggered, this,
            [this] { guarded([this] { seekToSlider(); }); });
    connect(volumeSlider_, &QSlider::actionTriggered, this,
            [this] { guarded([this] { volumeFromSlider(); }); });

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setInterval(kRefreshMs);
    connect(refreshTimer_, &QTimer::timeout, this, &PlayerView::refresh);
    // The player's signals come in the middle of commands such as the Pause key's: reading the
    // player back there would keep the command waiting on the player. A hidden view catches up
    // when shown.
    connect(&player, &MediaPlayer::mediaChanged, this, &PlayerView::refreshSoon);
    connect(&player, &MediaPlayer::seeked, this, &PlayerView::refreshSoon);
    connect(&player, &MediaPlayer::playStateChanged, this, &PlayerView::refreshSoon);
    connect(&player, &MediaPlayer::durationChanged, this, &PlayerView::refreshSoon);
    connect(&player, &MediaPlayer::volumeChanged, this, &PlayerView::refreshSoon);
    refresh();
}

PlayerView::~PlayerView() {
    // mpv must not go on drawing into a window that is about to vanish.
    if (windowHandedOut_ && player_) {
        try {
            player_->setVideoWindow(0);
        } catch (const std::exception&) {
            // Nothing to tell anyone while the window goes away.
        }
    }
}

quintptr PlayerView::videoWindowId() {
    if (!platformHasX11Windows()) return 0;
    windowHandedOut_ = true;
    return static_cast<quintptr>(video_->winId());
}

void PlayerView::refresh() {
    if (!player_) return;
    try {
        const bool loaded = !player_->address().isEmpty();
        const MediaPlayer::PlayState state = player_->playState();
        const bool playing = state == PlayState::Playing;
        const double length = player_->duration();
        const double position = player_->position();
        const int volume = player_->volume();

        playButton_->setEnabled(loaded);
        // Loading a style icon on every tick was most of what an idle window cost.
        const int symbol = playing ? 1 : 0;
        if (symbol != shownSymbol_) {
            shownSymbol_ = symbol;
            playButton_->setIcon(
                style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
            const QString action = playing ? QStringLiteral("一時停止") : QStringLiteral("再生");
            playButton_->setToolTip(action);
            playButton_->setAccessibleName(action);
        }

        positionSlider_->setEnabled(loaded && length > 0);
        // Leave the slider to the user while it is being dragged.
        if (!positionSlider_->isSliderDown()) {
            const QSignalBlocker block(positionSlider_);
            positionSlider_->setRange(0, sliderUnits(length));
            positionSlider_->setValue(sliderUnits(position));
        }
        if (!volumeSlider_->isSliderDown()) {
            const QSignalBlocker block(volumeSlider_);
            volumeSlider_->setValue(volume);
        }
        // No time while nothing is loaded yet, and no length while it is unknown.
        const bool hasPosition =
            loaded && state != PlayState::Undefined && state != PlayState::Transitioning;
        const QString positionText = playerTimeString(position);
        timeLabel_->setText(!hasPosition ? QString()
                            : length > 0
                                ? positionText + QStringLiteral(" / ") + playerTimeString(length)
                                : positionText);
        refreshFailed_ = false;
    } catch (const std::exception& e) {
        if (refreshFailed_) return;
        refreshFailed_ = true;
        if (reportError_) reportError_(QString::fromUtf8(e.what()));
    }
}

void PlayerView::refreshSoon() {
    if (refreshQueued_ || !isVisible()) return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshQueued_ = false;
            refresh();
        },
        Qt::QueuedConnection);
}

void PlayerView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    refreshTimer_->start();
}

void PlayerView::hideEvent(QHideEvent* event) {
    refreshTimer_->stop();
    QWidget::hideEvent(event);
}

void PlayerView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange) {
        shownSymbol_ = -1;  // the new style draws its own symbols
        refresh();
    }
}

void PlayerView::togglePlay() {
    if (!player_) return;
    if (player_->playState() == PlayState::Playing)
        player_->pause();
    else
        player_->play();
}

void PlayerView::seekToSlider() {
    if (!player_ || player_->address().isEmpty()) return;
    player_->setPosition(positionSlider_->sliderPosition() / 1000.0);
}

void PlayerView::volumeFromSlider() {
    if (player_) player_->setVolume(volumeSlider_->sliderPosition());
}
