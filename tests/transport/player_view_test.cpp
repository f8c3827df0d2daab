// The player's own area: its controls act on the player directly and follow it.

#include "transport/player_view.h"

#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <memory>

#include "fakes/test_media.h"
#include "transport/mpv_player.h"

namespace {

// Just enough of a player: fixed values the test sets, calls recorded, and any one failing.
class StubPlayer : public MediaPlayer {
public:
    QString url;
    PlayState state = PlayState::Undefined;
    double seconds = 0, length = 0;
    int vol = 50;
    QStringList calls;
    QString failing;  // the operation that throws next

    void open(const QString& u) override { url = u; }
    QString address() const override { return url; }
    PlayState playState() const override {
        check(QStringLiteral("playState"));
        return state;
    }
    void close() override { url.clear(); }
    void play() override {
        record(QStringLiteral("play"));
        state = PlayState::Playing;
    }
    void pause() override {
        record(QStringLiteral("pause"));
        state = PlayState::Paused;
    }
    void stop() override { record(QStringLiteral("stop")); }
    double position() const override {
        check(QStringLiteral("position"));
        return seconds;
    }
    void setPosition(double s) override {
        record(QStringLiteral("seek %1").arg(s));
        seconds = s;
    }
    bool canChangeRate() const override { return !url.isEmpty(); }
    double rate() const override { return 1.0; }
    void setRate(double) override {}
    int volume() const override { return vol; }
    void setVolume(int v) override {
        record(QStringLiteral("volume %1").arg(v));
        vol = v;
    }
    bool isMuted() const override { return false; }
    void setMuted(bool) override {}
    double duration() const override { return length; }
    void setVideoWindow(quintptr id) override { record(QStringLiteral("window %1").arg(id)); }

private:
    void check(const QString& operation) const {
        if (operation == failing) throw PlayerError(("failed: " + operation).toStdString());
    }
    void record(const QString& call) {
        check(call.section(QLatin1Char(' '), 0, 0));
        calls << call;
    }
};

struct Controls {
    QToolButton* button;
    QSlider* position;
    QSlider* volume;
    QLabel* time;
};

Controls controlsOf(PlayerView& view) {
    return {view.findChild<QToolButton*>(QStringLiteral("playButton")),
            view.findChild<QSlider*>(QStringLiteral("positionSlider")),
            view.findChild<QSlider*>(QStringLiteral("volumeSlider")),
            view.findChild<QLabel*>(QStringLiteral("timeLabel"))};
}

}  // namespace

class PlayerViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StubPlayer> player_;
    QStringList reported_;
    std::unique_ptr<PlayerView> view_;
    Controls c_{};

    void loadStub(PlayState state, double position = 2.5) {
        player_->url = QStringLiteral("/media/a.mp3");
        player_->state = state;
        player_->seconds = position;
        player_->length = 10.0;
        view_->refresh();
    }

private slots:
    void init() {
        player_ = std::make_unique<StubPlayer>();
        reported_.clear();
        view_ = std::make_unique<PlayerView>(
            *player_, [this](const QString& message) { reported_ << message; });
        c_ = controlsOf(*view_);
        QVERIFY(c_.button && c_.position && c_.volume && c_.time);
    }
    void cleanup() {
        view_.reset();
        player_.reset();
    }

    void followsThePlayer() {
        QVERIFY(!c_.button->isEnabled());
        QVERIFY(!c_.position->isEnabled());
        QCOMPARE(c_.time->text(), QString());
        QCOMPARE(c_.volume->value(), 50);

        player_->vol = 40;
        loadStub(PlayState::Playing);
        QVERIFY(c_.button->isEnabled());
        QVERIFY(c_.position->isEnabled());
        QCOMPARE(c_.position->maximum(), 10000);
        QCOMPARE(c_.position->value(), 2500);
        QCOMPARE(c_.volume->value(), 40);
        QCOMPARE(c_.time->text(), QStringLiteral("00:02 / 00:10"));
        QCOMPARE(c_.button->toolTip(), QStringLiteral("一時停止"));
        // A hidden view leaves the player alone and catches up when shown; a shown one reads
        // the player after the command that signalled, not inside it.
        player_->state = PlayState::Paused;
        player_->failing = QStringLiteral("playState");
        emit player_->playStateChanged(PlayState::Paused);
        QCoreApplication::processEvents();
        QCOMPARE(reported_, QStringList());
        player_->failing.clear();
        view_->show();
        QCOMPARE(c_.button->toolTip(), QStringLiteral("再生"));
        const QImage playSymbol = c_.button->icon().pixmap(16).toImage();
        player_->state = PlayState::Playing;
        emit player_->playStateChanged(PlayState::Playing);
        QCOMPARE(c_.button->toolTip(), QStringLiteral("再生"));
        QTRY_COMPARE(c_.button->toolTip(), QStringLiteral("一時停止"));
        QVERIFY(c_.button->icon().pixmap(16).toImage() != playSymbol);
        player_->state = PlayState::Paused;
        view_->refresh();
        QCOMPARE(c_.button->icon().pixmap(16).toImage(), playSymbol);
        // Following the player is no command to it.
        QCOMPARE(player_->calls, QStringList());
    }

    void timeShowsWhatIsKnown_data() {
        QTest::addColumn<PlayState>("state");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("shown");
        QTest::newRow("loading") << PlayState::Transitioning << 10.0 << QString();
        QTest::newRow("failed") << PlayState::Undefined << 10.0 << QString();
        QTest::newRow("length unknown") << PlayState::Paused << 0.0 << QStringLiteral("00:02");
        QTest::newRow("stopped") << PlayState::Stopped << 10.0 << QStringLiteral("00:02 / 00:10");
        QTest::newRow("ended") << PlayState::MediaEnded << 3725.0
                               << QStringLiteral("00:02 / 01:02:05");
    }
    void timeShowsWhatIsKnown() {
        QFETCH(PlayState, state);
        QFETCH(double, length);
        loadStub(state);
        player_->length = length;
        view_->refresh();
        QFETCH(QString, shown);
        QCOMPARE(c_.time->text(), shown);
    }

    void buttonToggles() {
        loadStub(PlayState::Playing);
        c_.button->click();
        c_.button->click();
        QCOMPARE(player_->calls, (QStringList{"pause", "play"}));
        loadStub(PlayState::MediaEnded);
        c_.button->click();
        QCOMPARE(player_->calls.last(), QStringLiteral("play"));
    }

    void slidersActOnThePlayer() {
        loadStub(PlayState::Paused);
        QTest::keyClick(c_.position, Qt::Key_PageUp);
        QCOMPARE(player_->calls, QStringList{"seek 7.5"});
        QCOMPARE(c_.time->text(), QStringLiteral("00:07 / 00:10"));
        // A drag seeks as it goes; meanwhile the player's position does not move the knob.
        c_.position->setSliderDown(true);
        c_.position->setSliderPosition(4200);
        c_.position->triggerAction(QAbstractSlider::SliderMove);
        QCOMPARE(player_->calls.last(), QStringLiteral("seek 4.2"));
        player_->seconds = 9.0;
        view_->refresh();
        QCOMPARE(c_.position->sliderPosition(), 4200);
        c_.position->setSliderDown(false);
        view_->refresh();
        QCOMPARE(c_.position->value(), 9000);

        QTest::keyClick(c_.volume, Qt::Key_PageDown);
        QCOMPARE(player_->calls.last(), QStringLiteral("volume 40"));
        QCOMPARE(player_->vol, 40);
    }

    void errorsAreReportedNotThrown() {
        loadStub(PlayState::Playing);
        player_->failing = QStringLiteral("pause");
        c_.button->click();
        QCOMPARE(reported_, QStringList{"failed: pause"});
        player_->failing = QStringLiteral("seek");
        QTest::keyClick(c_.position, Qt::Key_PageUp);
        QCOMPARE(reported_.size(), 2);
        QCOMPARE(reported_.last(), QStringLiteral("failed: seek"));

        // A refresh that keeps failing is reported once, not on every tick.
        player_->failing = QStringLiteral("position");
        view_->refresh();
        view_->refresh();
        QCOMPARE(reported_.size(), 3);
        player_->failing.clear();
        view_->refresh();
        player_->failing = QStringLiteral("position");
        view_->refresh();
        QCOMPARE(reported_.size(), 4);
    }

    void refreshesOnItsOwnWhileVisible() {
        loadStub(PlayState::Playing, 1.0);
        auto* timer = view_->findChild<QTimer*>();
        QVERIFY(timer);
        QVERIFY(!timer->isActive());
        view_->show();
        QVERIFY(timer->isActive());
        player_->seconds = 6.0;  // no signal: the player moves on by itself
        QTRY_COMPARE_WITH_TIMEOUT(c_.position->value(), 6000, 1000);
        view_->hide();
        QVERIFY(!timer->isActive());
    }

    void videoWindowOnlyOnX11() {
        // Offscreen there is no window mpv could draw into, and nothing to detach later.
        QCOMPARE(view_->videoWindowId(), quintptr(0));
        view_.reset();
        QCOMPARE(player_->calls, QStringList());
    }

    void drivesTheRealPlayer() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("tone.wav"));
        QVERIFY(testmedia::writeWav(file, 10.0));
        MpvPlayer player({{QStringLiteral("ao"), QStringLiteral("null")},
                          {QStringLiteral("vo"), QStringLiteral("null")}});
        QStringList errors;
        PlayerView view(player, [&](const QString& message) { errors << message; });
        const Controls c = controlsOf(view);
        view.show();
        player.open(file);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), PlayState::Playing, 5000);
        QTRY_COMPARE(c.position->maximum(), 10000);
        c.button->click();
        QCOMPARE(player.playState(), PlayState::Paused);
        c.position->setSliderPosition(6000);
        c.position->triggerAction(QAbstractSlider::SliderMove);
        QCOMPARE(player.position(), 6.0);
        QCOMPARE(c.time->text(), QStringLiteral("00:06 / 00:10"));
        QTest::keyClick(c.volume, Qt::Key_PageUp);
        QCOMPARE(player.volume(), 60);
        QCOMPARE(errors, QStringList());
    }
};

QTEST_MAIN(PlayerViewTest)
#include "player_view_test.moc"
