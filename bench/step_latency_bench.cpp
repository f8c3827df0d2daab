// How soon a volume or speed step and a pause are heard, through PulseAudio: the window plays a
// generated tone on the real libmpv backend (ao=pulse), parec records the default sink's monitor,
// and each arriving chunk is stamped with the monotonic clock the commands are timed with.
//
// The tone (882 Hz, a whole period in 50 samples) tells what is heard, 50 samples at a time:
//   right channel  a steady amplitude, so the volume heard;
//   left / right   a ratio that rises through 0.4..1.6 every 2 s of the media, so the media
//                  position heard, whatever the volume. Against the line the position followed
//                  before the step, a speed step shows where mpv's tempo filter first splices
//                  (5-7 ms skipped or repeated at 1.1 or 0.9), a flush as a gap and any jump.
// Each trial plays from a random position for --settle ms, steps (volume 50 -> 55 or 45, or
// speed 1.0 -> 1.1 or 0.9) and plays on for 1 s, then pauses (with the rewind) and times the
// sound stopping. "heard" is the start of the first 50-sample block that shows the change.
//
// Usage: step_latency_bench [--steps N] [--seed S] [--settle MS] [--format mp3|wav]
//                           [--direct] [--mpv NAME=VALUE]...
//   --direct  sets mpv's volume and speed over its IPC socket instead of through the window, as
//             a player without the flush would (the step as it was before).
// Needs a PulseAudio server (bench/pulse_null_sink.sh starts one with a null sink) and parec.

#include <signal.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QProcess>
#include <atomic>
#include <cmath>
#include <mutex>
#include <random>
#include <thread>

#include "bench_support.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 50;  // one period of the 882 Hz tone

// parec on the default sink's monitor, on a thread that stamps every read on arrival.
class MonitorRecorder {
public:
    bool start() {
        pipe_ = ::popen(
            "exec parec --raw --format=s16le --rate=44100 --channels=2 --latency-msec=2 "
            "-d @DEFAULT_MONITOR@",
            "r");
        if (!pipe_) return false;
        reader_ = std::thread([this] { run(); });
        return true;
    }
    ~MonitorRecorder() {
        stop_ = true;
        if (pipe_) ::pclose(pipe_);  // parec ends on its next write to the closed pipe
        if (reader_.joinable()) reader_.join();
    }

    struct Read {
        std::size_t endFrame;
        double atMs;
    };
    // A copy of what has arrived so far.
    void snapshot(std::vector<int16_t>& samples, std::vector<Read>& reads) {
        std::lock_guard lock(mutex_);
        samples = samples_;
        reads = reads_;
    }
    std::size_t largestReadFrames() const { return largest_ / 4; }

private:
    void run() {
        const int fd = ::fileno(pipe_);
        std::vector<char> buffer(1 << 14);
        std::vector<char> carry;
        while (!stop_) {
            const ssize_t n = ::read(fd, buffer.data(), buffer.size());
            const double at = bench::nowMs();
            if (n <= 0) break;
            largest_ = std::max<std::size_t>(largest_, std::size_t(n));
            carry.insert(carry.end(), buffer.data(), buffer.data() + n);
            const std::size_t whole = carry.size() / 4 * 4;
            std::lock_guard lock(mutex_);
            const auto* p = reinterpret_cast<const int16_t*>(carry.data());
            samples_.insert(samples_.end(), p, p + whole / 2);
            carry.erase(carry.begin(), carry.begin() + std::ptrdiff_t(whole));
            reads_.push_back({samples_.size() / 2, at});
        }
    }

    FILE* pipe_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<int16_t> samples_;
    std::vector<Read> reads_;
    std::atomic<std::size_t> largest_{0};
};

// The recording read back: monotonic time of a frame, and what each 50-sample block holds.
class Recording {
public:
    Recording(std::vector<int16_t> samples, const std::vector<MonitorRecorder::Read>& reads,
              double aroundMs)
        : samples_(std::move(samples)) {
        // A frame cannot arrive before it was played: the earliest arrival, less the frames
        // read by then, places frame 0 (taken near the moment looked at, against drift).
        for (const auto& r : reads)
            if (std::abs(r.atMs - aroundMs) < 3000)
                frameZeroMs_ = std::min(frameZeroMs_, r.atMs - double(r.endFrame) * 1000 / kRate);
    }
    bool valid() const { return std::isfinite(frameZeroMs_); }
    std::size_t frames() const { return samples_.size() / 2; }
    double msOf(std::size_t frame) const { return frameZeroMs_ + double(frame) * 1000 / kRate; }
    std::size_t frameAt(double ms) const {
        return std::size_t(std::max(0.0, std::ceil((ms - frameZeroMs_) * kRate / 1000)));
    }
    // Peak amplitude (0..1) of one channel over a block, from its power.
    double amplitude(std::size_t frame, int channel) const {
        double sum = 0;
        for (std::size_t i = frame; i < frame + kBlock; ++i) {
            const double x = samples_[2 * i + std::size_t(channel)] / 32768.0;
            sum += x * x;
        }
        return std::sqrt(2 * sum / kBlock);
    }
    // The media position within the tone's 2-s cycle, in ms.
    double position(std::size_t frame) const {
        const double right = amplitude(frame, 1);
        return right > 0 ? 2000 * (amplitude(frame, 0) / right - 0.4) / 1.2 : NAN;
    }
    bool silent(std::size_t frame, double level) const {
        for (std::size_t i = frame; i < frame + kBlock; ++i)
            if (std::abs(samples_[2 * i] / 32768.0) > level ||
                std::abs(samples_[2 * i + 1] / 32768.0) > level)
                return false;
        return true;
    }

private:
    std::vector<int16_t> samples_;
    double frameZeroMs_ = INFINITY;
};

// Position difference across the 2-s wrap of the tone.
double positionStep(double from, double to) {
    double d = to - from;
    if (d > 1000) d -= 2000;
    if (d < -1000) d += 2000;
    return d;
}

struct StepResult {
    double heardMs = NAN;  // command -> first block that shows the change
    double gapMs = 0;      // silence after the command
    double jumpMs = NAN;   // media position heard across the change, less the time passed:
                           // below zero, audio heard twice
    double stopMs = NAN;   // pause command -> silence
};

// The step at `atMs`: volume (gain != 1) or speed (gain == 1).
StepResult analyseStep(const Recording& rec, double atMs, double gain) {
    StepResult result;
    const std::size_t at = rec.frameAt(atMs);
    if (at < 50 * kBlock || at + std::size_t(kRate) >= rec.frames()) return result;
    // How far the position heard is off the line it followed from `origin` on.
    const std::size_t origin = at - 40 * kBlock;
    auto drift = [&](std::size_t f) {
        return positionStep(rec.position(origin), rec.position(f)) -
               (rec.msOf(f) - rec.msOf(origin));
    };
    std::vector<double> before;
    double driftBefore = 0, spread = 0;
    for (std::size_t f = origin; f + kBlock <= at; f += kBlock) {
        before.push_back(rec.amplitude(f, 1));
        driftBefore += drift(f) / 40;
    }
    for (std::size_t f = origin; f + kBlock <= at; f += kBlock)
        spread = std::max(spread, std::abs(drift(f) - driftBefore));
    std::sort(before.begin(), before.end());
    const double level = before[before.size() / 2];
    const double blockMs = kBlock * 1000 / kRate;
    // Noise while nothing changed sets what counts as a jump; a splice skips 5-7 ms.
    const double jumpAbove = std::max(1.5, 2 * spread);

    for (std::size_t f = at; f + 3 * kBlock < at + std::size_t(kRate); f += kBlock) {
        if (rec.silent(f, 0.05 * level)) {
            result.gapMs += blockMs;
            continue;
        }
        const bool changed = gain != 1.0 ? std::abs(std::log(rec.amplitude(f, 1) / level)) >
                                               0.5 * std::abs(std::log(gain))
                                         : std::abs(drift(f) - driftBefore) > jumpAbove;
        if (changed || result.gapMs > 0) {
            result.heardMs = rec.msOf(f) - atMs;
            // Past a crossfade or the block a gap ends in, the position reads clean again.
            for (std::size_t g = f + 2 * kBlock; std::isnan(result.jumpMs) && g < f + 20 * kBlock;
                 g += kBlock)
                if (!rec.silent(g, 0.05 * level)) result.jumpMs = drift(g) - driftBefore;
            return result;
        }
    }
    return result;
}

// Pause at `atMs`: the first sample from which 10 ms stay below 2 % of the level before.
double analyseStop(const Recording& rec, double atMs) {
    const std::size_t at = rec.frameAt(atMs);
    if (at < 10 * kBlock || at + std::size_t(kRate * 0.6) >= rec.frames()) return NAN;
    const double level = rec.amplitude(at - 2 * kBlock, 1);
    for (std::size_t f = at - kBlock; f < at + std::size_t(kRate / 2); ++f) {
        bool quiet = true;
        for (std::size_t i = f; quiet && i < f + std::size_t(kRate / 100); i += kBlock)
            quiet = rec.silent(i, 0.02 * level);
        if (quiet) return rec.msOf(f) - atMs;
    }
    return NAN;
}

QString makeProbeTone(const QString& folder, const QString& suffix) {
    const QString target = folder + QStringLiteral("/probe.") + suffix;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                  QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-f"),
                  QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("aevalsrc=0.6*(0.4+1.2*mod(t\\,2)/2)*sin(2*PI*882*t)|"
                                 "0.6*sin(2*PI*882*t):s=44100:d=600"),
                  QStringLiteral("-b:a"), QStringLiteral("128k"), target});
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0 ? target : QString();
}

}  // namespace

int main(int argc, char* argv[]) {
    bench::preferOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({QStringLiteral("steps"), QStringLiteral("Steps of each kind."),
                    QStringLiteral("N"), QStringLiteral("20")});
    args.addOption({QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("S"),
                    QStringLiteral("1")});
    args.addOption({QStringLiteral("settle"), QStringLiteral("Playing before each step, ms."),
                    QStringLiteral("MS"), QStringLiteral("1500")});
    args.addOption({QStringLiteral("format"), QStringLiteral("mp3 or wav."), QStringLiteral("F"),
                    QStringLiteral("mp3")});
    args.addOption(
        {QStringLiteral("direct"),
         QStringLiteral("Set mpv's volume and speed over IPC, not through the window.")});
    args.addOption({QStringLiteral("mpv"), QStringLiteral("An extra mpv option (repeatable)."),
                    QStringLiteral("NAME=VALUE")});
    args.process(app);
    const int steps = args.value(QStringLiteral("steps")).toInt();
    const double settleMs = args.value(QStringLiteral("settle")).toDouble();
    const bool direct = args.isSet(QStringLiteral("direct"));

    QTemporaryDir mediaDir;
    const QString media = makeProbeTone(mediaDir.path(), args.value(QStringLiteral("format")));
    if (media.isEmpty())
        return std::fprintf(stderr, "bench: cannot generate the media (is ffmpeg installed?)\n"), 1;
    MonitorRecorder recorder;
    if (!recorder.start()) return std::fprintf(stderr, "bench: cannot start parec\n"), 1;
    MpvOptions options{{QStringLiteral("ao"), QStringLiteral("pulse")}};
    options += bench::parseMpvOptions(args.values(QStringLiteral("mpv")));
    bench::WindowOnMpv w;
    if (!w.start(media, options)) return 1;
    if (w.ipc.request({QStringLiteral("get_property"), QStringLiteral("current-ao")}) !=
        QJsonValue(QStringLiteral("pulse")))
        return std::fprintf(stderr, "bench: mpv is not playing through PulseAudio\n"), 1;
    TransportController& transport = w.session->transport();
    MpvPlayer& player = *w.player;

    auto setDirect = [&](const char* property, double value) {
        w.ipc.request({QStringLiteral("set_property"), QString::fromLatin1(property), value});
    };
    std::mt19937 random(args.value(QStringLiteral("seed")).toUInt());
    std::uniform_real_distribution<double> startAt(5.0, player.duration() - 10.0);
    std::vector<double> volumeHeard, speedHeard, gaps, volumeJumps, speedJumps, stops;
    int missed = 0;
    for (int i = 0; i < 2 * steps; ++i) {
        const bool volume = i % 2 == 0;
        const bool up = (i / 2) % 2 == 0;
        transport.setVolume(50);
        transport.setRate(1.0, false);
        if (!w.seekPaused(startAt(random)))
            return std::fprintf(stderr, "bench: a seek did not finish\n"), 1;
        transport.playPause();
        bench::runEvents(settleMs);

        const double stepAt = bench::nowMs();
        if (volume) {
            if (direct)
                setDirect("volume", up ? 55 : 45);
            else
                transport.setVolume(up ? 55 : 45);
        } else {
            if (direct)
                setDirect("speed", up ? 1.1 : 0.9);
            else
                transport.setRate(up ? 1.1 : 0.9, false);
        }
        bench::runEvents(1200);
        const double pauseAt = bench::nowMs();
        transport.playPause();
        bench::runEvents(700);

        std::vector<int16_t> samples;
        std::vector<MonitorRecorder::Read> reads;
        recorder.snapshot(samples, reads);
        const Recording rec(std::move(samples), reads, stepAt);
        if (!rec.valid()) return std::fprintf(stderr, "bench: nothing was recorded\n"), 1;
        const double gain = volume ? std::pow((up ? 55.0 : 45.0) / 50.0, 3) : 1.0;
        const StepResult r = analyseStep(rec, stepAt, gain);
        const double stop = analyseStop(rec, pauseAt);
        if (std::isnan(r.heardMs)) {
            ++missed;
        } else {
            (volume ? volumeHeard : speedHeard).push_back(r.heardMs);
            gaps.push_back(r.gapMs);
            if (std::isfinite(r.jumpMs)) (volume ? volumeJumps : speedJumps).push_back(r.jumpMs);
        }
        if (!std::isnan(stop)) stops.push_back(stop);
        std::fprintf(stderr, "%s %s: heard %.1f ms, gap %.1f, jump %.1f; pause stop %.1f ms\n",
                     volume ? "volume" : "speed", up ? "up" : "down", r.heardMs, r.gapMs, r.jumpMs,
                     stop);
    }
    if (!w.dialogs.errors.isEmpty())
        return std::fprintf(stderr, "bench: the window showed errors: %s\n",
                            qPrintable(w.dialogs.errors.join(QLatin1Char('\n')))),
               1;

    std::printf("steps heard through PulseAudio: %d volume and %d speed steps on %s%s\n", steps,
                steps, qPrintable(QFileInfo(media).fileName()),
                direct ? ", set directly in mpv" : "");
    for (const QString& option : args.values(QStringLiteral("mpv")))
        std::printf("  mpv option %s\n", qPrintable(option));
    std::printf("  parec's largest read %zu frames (%.1f ms); load %s",
                recorder.largestReadFrames(), double(recorder.largestReadFrames()) * 1000 / kRate,
                qPrintable(QString::fromLatin1([] {
                    QFile f(QStringLiteral("/proc/loadavg"));
                    return f.open(QIODevice::ReadOnly) ? f.readLine() : QByteArray("?\n");
                }())));
    bench::printSummary("volume step -> heard", bench::summarize(volumeHeard), "ms");
    bench::printSummary("speed step -> heard", bench::summarize(speedHeard), "ms");
    bench::printSummary("silence after a step", bench::summarize(gaps), "ms");
    bench::printSummary("position jump across a volume step", bench::summarize(volumeJumps), "ms");
    bench::printSummary("position jump across a speed step", bench::summarize(speedJumps), "ms");
    bench::printSummary("pause -> sound stopped", bench::summarize(stops), "ms");
    if (missed) std::printf("  %d steps showed no change within 1 s\n", missed);
    return 0;
}
