#include "fakes/fake_player.h"

#include <algorithm>

#include "fakes/fake_clock.h"

FakePlayer::FakePlayer(FakeClock& clock) : clock_(clock) {}

void FakePlayer::addMedia(const QString& url, double duration, bool rateAvailable) {
    media_.insert(url, Media{duration, rateAvailable});
}

int FakePlayer::count(const QString& operation) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const QString& entry) {
        return entry == operation || entry.startsWith(operation + QLatin1Char(' '));
    }));
}

void FakePlayer::check(const QString& operation, const QString& detail) {
    log << (detail.isEmpty() ? operation : operation + QLatin1Char(' ') + detail);
    if (failing_.removeOne(operation))
        throw PlayerError("fake player: " + operation.toStdString() + " failed");
}

void FakePlayer::settle() const {
    const qint64 now = clock_.ticks();
    if (state_ == PlayState::Transitioning && now - loadedAt_ >= loadDelay_) {
        state_ = startPaused_ ? PlayState::Paused : PlayState::Playing;
        anchor_ = loadedAt_ + loadDelay_;
    }
    if (state_ != PlayState::Playing) return;
    position_ += static_cast<double>(now - anchor_) / 1000.0 * rate_;
    anchor_ = now;
    const double end = media_.value(address_).duration;
    if (position_ >= end) {
        position_ = end;
        state_ = PlayState::MediaEnded;
    }
}

void FakePlayer::open(const QString& address) {
    check(QStringLiteral("open"), address);
    address_ = address;
    position_ = 0;
    loadedAt_ = clock_.ticks();
    anchor_ = loadedAt_;
    if (!loaded()) {
        state_ = PlayState::Undefined;
        Q_EMIT mediaChanged();
        Q_EMIT errorOccurred(QStringLiteral("cannot load ") + address);
        return;
    }
    startPaused_ = true;
    state_ = loadDelay_ > 0 ? PlayState::Transitioning : PlayState::Paused;
    Q_EMIT mediaChanged();
    Q_EMIT playStateChanged(state_);
    if (const double length = duration(); length > 0) Q_EMIT durationChanged(length);
}

MediaPlayer::PlayState FakePlayer::playState() const {
    settle();
    return state_;
}

void FakePlayer::close() {
    check(QStringLiteral("close"));
    address_.clear();
    position_ = 0;
    state_ = PlayState::Undefined;
    Q_EMIT mediaChanged();
}

void FakePlayer::play() {
    check(QStringLiteral("play"));
    settle();
    if (!loaded()) return;
    if (state_ == PlayState::Transitioning) {
        startPaused_ = false;
        return;
    }
    if (state_ == PlayState::MediaEnded) position_ = 0;
    state_ = PlayState::Playing;
    anchor_ = clock_.ticks();
    Q_EMIT playStateChanged(state_);
}

void FakePlayer::pause() {
    check(QStringLiteral("pause"));
    settle();
    if (!loaded() || state_ == PlayState::MediaEnded) return;
    if (state_ == PlayState::Transitioning) {
        startPaused_ = true;
        return;
    }
    state_ = PlayState::Paused;
    Q_EMIT playStateChanged(state_);
}

void FakePlayer::stop() {
    check(QStringLiteral("stop"));
    if (!loaded()) return;
    state_ = PlayState::Stopped;
    position_ = 0;
    Q_EMIT playStateChanged(state_);
}

double FakePlayer::position() const {
    settle();
    return position_;
}

void FakePlayer::setPosition(double seconds) {
    check(QStringLiteral("setPosition"), QString::number(seconds));
    settle();
    if (!loaded()) return;
    position_ = std::clamp(seconds, 0.0, media_.value(address_).duration);
    anchor_ = clock_.ticks();
    if (state_ == PlayState::MediaEnded && position_ < media_.value(address_).duration)
        state_ = PlayState::Paused;
    Q_EMIT seeked(position_);
}

bool FakePlayer::canChangeRate() const {
    return loaded() && media_.value(address_).rateAvailable;
}

void FakePlayer::setRate(double rate) {
    check(QStringLiteral("setRate"), QString::number(rate));
    settle();
    rate_ = rate;
    Q_EMIT rateChanged(rate);
}

void FakePlayer::setVolume(int volume) {
    check(QStringLiteral("setVolume"), QString::number(volume));
    volume_ = std::clamp(volume, 0, 100);
    Q_EMIT volumeChanged(volume_);
}

void FakePlayer::setMuted(bool muted) {
    check(QStringLiteral("setMuted"), muted ? QStringLiteral("1") : QStringLiteral("0"));
    muted_ = muted;
}

double FakePlayer::duration() const {
    if (!loaded() || clock_.ticks() - loadedAt_ < std::max(durationDelay_, loadDelay_)) return 0;
    return media_.value(address_).duration;
}
