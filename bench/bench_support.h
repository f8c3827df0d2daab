#pragma once

// Shared by the benchmark programs: a clock, statistics, generated media, a second observer of
// mpv over its JSON IPC socket, and the main window on the real libmpv backend.
//
// Header-only because each *_bench.cpp is built as an executable of its own.

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_pedal_library.h"
#include "fakes/test_media.h"
#include "session/session.h"
#include "transport/clock.h"
#include "transport/mpv_player.h"
#include "transport/transport_controller.h"

namespace bench {

inline double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Runs the Qt event loop for about `ms` milliseconds, as the window's own waits do.
inline void runEvents(double ms) {
    const double end = nowMs() + ms;
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    } while (nowMs() < end);
}

// Runs the event loop until `done` holds or `timeoutMs` passes; whether it came to hold.
inline bool runEventsUntil(const std::function<bool()>& done, double timeoutMs) {
    const double end = nowMs() + timeoutMs;
    while (!done()) {
        if (nowMs() > end) return false;
        runEvents(1);
    }
    return true;
}

struct Summary {
    std::size_t count = 0;
    double mean = 0, median = 0, p99 = 0, max = 0, min = 0;
};

// Nearest-rank percentiles, so that p99 of 100 samples is the second largest, not a blend.
inline Summary summarize(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    s.count = values.size();
    s.mean = std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
    auto rank = [&](double p) {
        const auto n = static_cast<std::size_t>(std::ceil(p * double(values.size())));
        return values[std::clamp<std::size_t>(n, 1, values.size()) - 1];
    };
    s.median = rank(0.5);
    s.p99 = rank(0.99);
    s.min = values.front();
    s.max = values.back();
    return s;
}

inline void printSummary(const char* what, const Summary& s, const char* unit) {
    std::printf("%-46s n=%-4zu mean %8.3f  median %8.3f  p99 %8.3f  max %8.3f  min %8.3f %s\n",
                what, s.count, s.mean, s.median, s.p99, s.max, s.min, unit);
}

// A 10-minute (by default) sine tone, as WAV or, through ffmpeg, as MP3. Empty on failure.
inline QString makeMedia(const QString& folder, const QString& suffix, double seconds = 600) {
    const QString wav = folder + QStringLiteral("/tone.wav");
    testmedia::WavFormat format;
    format.channels = 2;
    if (!testmedia::writeWav(wav, seconds, 440.0, format)) return {};
    if (suffix == QLatin1String("wav")) return wav;
    const QString target = folder + QStringLiteral("/tone.") + suffix;
    const bool ok = testmedia::convertWithFfmpeg(wav, target);
    QFile::remove(wav);
    return ok ? target : QString();
}

// CPU seconds (user + system) and peak resident memory of this process so far.
struct ProcessCost {
    double userSeconds = 0, systemSeconds = 0;
    long peakRssKiB = 0, rssKiB = 0;
};

inline ProcessCost processCost() {
    ProcessCost cost;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    cost.userSeconds = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
    cost.systemSeconds = double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 2) continue;
            if (fields[0] == "VmHWM:") cost.peakRssKiB = fields[1].toLong();
            if (fields[0] == "VmRSS:") cost.rssKiB = fields[1].toLong();
        }
    }
    return cost;
}

// A second client of the same mpv, over the JSON IPC socket that the option
// input-ipc-server opens. It sees mpv's own properties, not what MpvPlayer makes of them, and a
// reader thread stamps each event with the moment it arrived.
class MpvIpc {
public:
    struct Event {
        double atMs = 0;
        QJsonObject body;
    };

    MpvIpc() = default;
    MpvIpc(const MpvIpc&) = delete;
    MpvIpc& operator=(const MpvIpc&) = delete;
    ~MpvIpc() {
        if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
        if (reader_.joinable()) reader_.join();
        if (fd_ >= 0) ::close(fd_);
    }

    // mpv opens the socket on a thread of its own: retry until it is there.
    bool connectTo(const QString& path, double timeoutMs = 3000) {
        const QByteArray name = path.toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (name.size() >= qsizetype(sizeof address.sun_path)) return false;
        std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
        const double end = nowMs() + timeoutMs;
        while (nowMs() < end) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (fd < 0) return false;
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
                fd_ = fd;
                reader_ = std::thread([this] { readLoop(); });
                return true;
            }
            ::close(fd);
            QThread::msleep(10);
        }
        return false;
    }

    // Runs a command and returns its "data" (null when it has none); nullopt when mpv answered
    // with an error or not within the time.
    std::optional<QJsonValue> request(const QJsonArray& command, double timeoutMs = 2000) {
        const int id = ++lastId_;
        QJsonObject message{{QStringLiteral("command"), command},
                            {QStringLiteral("request_id"), id}};
        QByteArray line = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
        if (::send(fd_, line.constData(), std::size_t(line.size()), MSG_NOSIGNAL) != line.size())
            return std::nullopt;
        std::unique_lock lock(mutex_);
        const bool answered =
            changed_.wait_for(lock, std::chrono::duration<double, std::milli>(timeoutMs),
                              [&] { return replies_.count(id) != 0; });
        if (!answered) return std::nullopt;
        const QJsonObject reply = replies_[id];
        replies_.erase(id);
        if (reply.value(QStringLiteral("error")).toString() != QLatin1String("success"))
            return std::nullopt;
        return reply.value(QStringLiteral("data"));
    }

    std::optional<double> number(const char* property) {
        const auto value =
            request(QJsonArray{QStringLiteral("get_property"), QString::fromLatin1(property)});
        if (!value || !value->isDouble()) return std::nullopt;
        return value->toDouble();
    }

    // The first event named `name` that arrived at or after `sinceMs` (and, when given, whose
    // "data" equals `data`), waiting up to `timeoutMs` for it.
    std::optional<Event> waitEvent(const QString& name, double sinceMs, double timeoutMs,
                                   const QString& property = {},
                                   const std::optional<QJsonValue>& data = {}) {
        std::unique_lock lock(mutex_);
        std::optional<Event> found;
        changed_.wait_for(lock, std::chrono::duration<double, std::milli>(timeoutMs), [&] {
            for (const Event& e : events_) {
                if (e.atMs < sinceMs) continue;
                if (e.body.value(QStringLiteral("event")).toString() != name) continue;
                if (!property.isEmpty() &&
                    e.body.value(QStringLiteral("name")).toString() != property)
                    continue;
                if (data && e.body.value(QStringLiteral("data")) != *data) continue;
                found = e;
                return true;
            }
            return false;
        });
        return found;
    }

    // How many events named `name` arrived at or after `sinceMs`.
    int countEvents(const QString& name, double sinceMs) {
        std::lock_guard lock(mutex_);
        return int(std::count_if(events_.begin(), events_.end(), [&](const Event& e) {
            return e.atMs >= sinceMs && e.body.value(QStringLiteral("event")).toString() == name;
        }));
    }

private:
    void readLoop() {
        QByteArray pending;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            const double at = nowMs();
            pending.append(buffer, qsizetype(n));
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QJsonObject body = QJsonDocument::fromJson(pending.left(end)).object();
                pending.remove(0, end + 1);
                std::lock_guard lock(mutex_);
                if (body.contains(QStringLiteral("request_id")) &&
                    !body.contains(QStringLiteral("event"))) {
                    replies_[body.value(QStringLiteral("request_id")).toInt()] = body;
                } else {
                    events_.push_back({at, body});
                    // Only the recent past is ever asked about.
                    while (events_.size() > 4096)
                        events_.pop_front();
                }
            }
            changed_.notify_all();
        }
        changed_.notify_all();
    }

    int fd_ = -1;
    int lastId_ = 0;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> events_;
    std::map<int, QJsonObject> replies_;
};

// The main window on the real libmpv backend with the null audio and video outputs (and dialogs
// that only record), in a program folder of its own, with `media` opened by a drop and its length
// probe finished. mpv also listens on an IPC socket for the second observer.
class WindowOnMpv {
    // Rewind item 7 (2.5 s), speed item 2 (1.0), repeat item 2.
    static constexpr char kSettings[] =
        "[Play]\r\nAutoBackSpace=7\r\nSpeed=2\r\nRepeatTime=2\r\n[Menu]\r\n"
        "DontUseUseFooptPeadl=1\r\n";

public:
    // False (with a message on stderr) when any step fails.
    // `options` are added to (and may override) the null outputs and the IPC socket.
    bool start(const QString& media, const MpvOptions& options = {}) {
        if (!folder_.isValid()) return complain("no temporary folder");
        QFile ini(folder_.filePath(QStringLiteral("Scribo.inf")));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(kSettings) < 0)
            return complain("cannot write the settings file");
        ini.close();
        const QString socket = folder_.filePath(QStringLiteral("mpv.sock"));
        MpvOptions all{{QStringLiteral("ao"), QStringLiteral("null")},
                       {QStringLiteral("vo"), QStringLiteral("null")},
                       {QStringLiteral("input-ipc-server"), socket}};
        all += options;
        player = std::make_unique<MpvPlayer>(all);
        session = std::make_unique<Session>(SessionServices{.player = player.get(),
                                                            .clock = &clock_,
                                                            .dialogs = &dialogs,
                                                            .settingsFolder = folder_.path() + '/',
                                                            .pedalLibrary = &pedalLibrary_,
                                                            .keyState = &keyState_,
                                                            .programFolder = folder_.path() + '/',
                                                            .clipboard = &clipboard_});
        form = std::make_unique<MainWindow>(*session);
        if (!session->startUp()) return complain("the window refused to start");
        form->show();
        if (!ipc.connectTo(socket)) return complain("cannot reach mpv's IPC socket");
        session->dropFiles({media});
        // The open loads the file paused; the probe keeps it muted for a second.
        const bool probed = runEventsUntil(
            [&] {
                // Output that runs as fast as it decodes may reach the end first.
                const PlayState state = player->playState();
                return !session->transport()
                            .findChild<QTimer*>(QStringLiteral("lengthProbeTimer"))
                            ->isActive() &&
                       player->duration() > 0 &&
                       (state == PlayState::Paused || state == PlayState::MediaEnded);
            },
            10000);
        if (!probed) return complain("the length probe did not finish");
        if (!dialogs.errors.isEmpty()) return complain(qPrintable(dialogs.errors.join('\n')));
        return true;
    }

    // Ends the window and the player (mpv closes its outputs).
    void stop() {
        form.reset();
        session.reset();
        player.reset();
    }

    // Seeks while paused and waits until mpv has finished with it.
    bool seekPaused(double seconds) {
        const double since = nowMs();
        player->setPosition(seconds);
        return settleAfterSeek(since).has_value();
    }

    // Waits for mpv's playback restart after a seek issued at `sinceMs`, then for 100 ms without
    // another (a pause pins its position with a seek of its own before the window's rewind).
    // The moment of the last restart, or nullopt when none came.
    std::optional<double> settleAfterSeek(double sinceMs) {
        const QString restart = QStringLiteral("playback-restart");
        std::optional<double> last;
        for (;;) {
            runEvents(1);
            auto event = ipc.waitEvent(restart, last ? *last + 1e-6 : sinceMs, last ? 100 : 3000);
            if (!event) return last;
            last = event->atMs;
        }
    }

private:
    static bool complain(const char* what) {
        std::fprintf(stderr, "bench: %s\n", what);
        return false;
    }

    // Declared first so that they outlive the window, which refers to them.
    QTemporaryDir folder_;
    SteadyClock clock_;
    FakePedalLibrary pedalLibrary_;  // switched off in the settings
    FakeKeyState keyState_;
    FakeClipboard clipboard_;

public:
    FakeDialogs dialogs;
    MpvIpc ipc;
    std::unique_ptr<MpvPlayer> player;
    std::unique_ptr<Session> session;
    std::unique_ptr<MainWindow> form;
};

// "name=value" texts from the command line as player options.
inline MpvOptions parseMpvOptions(const QStringList& texts) {
    MpvOptions options;
    for (const QString& text : texts) {
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals > 0) options.append({text.left(equals), text.mid(equals + 1)});
    }
    return options;
}

// Makes the Qt platform offscreen unless the caller chose one.
inline void preferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace bench
