#pragma once

#include <QHash>
#include <QStringList>

#include "transport/media_player.h"

class FakeClock;

// A player with its own clock: while playing, the position moves with the clock times the rate,
// and stops at the end of the media. Media must be announced with addMedia(); any other address
// fails to load. Every operation is logged, and any one can be made to fail.
class FakePlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit FakePlayer(FakeClock& clock);

    void addMedia(const QString& url, double duration, bool rateAvailable = true);
    // The duration reads 0 until this much clock time has passed after loading.
    void setDurationDelay(qint64 ms) { durationDelay_ = ms; }
    // Loads in the background as a real player does: for this much clock time after open() the
    // state is Transitioning, the length unknown and a seek only noted; then it rests paused, or
    // plays if play() came meanwhile.
    void setLoadDelay(qint64 ms) { loadDelay_ = ms; }
    // The next call of the named operation ("play", "pause", "setPosition", ...) throws.
    void failNext(const QString& operation) { failing_ << operation; }
    // Calls in order, e.g. "open /a.mp3", "play", "setPosition 7.5".
    QStringList log;
    int count(const QString& operation) const;

    void open(const QString& address) override;
    QString address() const override { return address_; }
    PlayState playState() const override;
    void close() override;
    void play() override;
    void pause() override;
    void stop() override;
    double position() const override;
    void setPosition(double seconds) override;
    bool canChangeRate() const override;
    double rate() const override { return rate_; }
    void setRate(double rate) override;
    int volume() const override { return volume_; }
    void setVolume(int volume) override;
    bool isMuted() const override { return muted_; }
    void setMuted(bool muted) override;
    double duration() const override;

private:
    struct Media {
        double duration = 0;
        bool rateAvailable = true;
    };
    void check(const QString& operation, const QString& detail = QString());
    void settle() const;  // moves position and state on to the clock's present
    bool loaded() const { return media_.contains(address_); }

    FakeClock& clock_;
    QHash<QString, Media> media_;
    QStringList failing_;
    QString address_;
    qint64 loadedAt_ = 0;
    qint64 durationDelay_ = 0;
    qint64 loadDelay_ = 0;
    bool startPaused_ = false;
    mutable PlayState state_ = PlayState::Undefined;
    mutable double position_ = 0;
    mutable qint64 anchor_ = 0;
    double rate_ = 1.0;
    int volume_ = 50;
    bool muted_ = false;
};
