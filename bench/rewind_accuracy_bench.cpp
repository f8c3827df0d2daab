// How exactly the rewinding pause lands. The window plays a generated 10-minute file from a
// random position for a random while, then pauses through TransportController::playPause() (pause,
// then seek back by the rewind time); the landing is compared with the target, the position the
// window passed to the player (MpvPlayer's seeked signal). The landing is never read from
// MpvPlayer, which reports the target itself while paused; two independent readings instead:
//
// Default (null audio output, in real time): mpv's own time-pos over its IPC socket.
//   paused    time-pos once the seek has finished (after its last playback-restart);
//   resumed   the window resumes playback; time-pos then reads resume point + time played.
//             The first fresh value v, arriving a ms after the resume call, brackets the resume
//             point in [v - a, v]: v is an upper bound, v - a a lower one, and the larger of
//             their sizes bounds |landed - target|. The bracket is as wide as the IPC round trip
//             (about 1 ms), so this reading cannot resolve finer than that.
//
// --samples (PCM file output, which mpv feeds as fast as it decodes): the audio itself. The
//   file is white noise; every sample mpv outputs goes to a PCM file, and the first sample
//   after each resume is located in an ffmpeg decode of the same file, to the sample.
//
// Usage: rewind_accuracy_bench [--trials N] [--seed S] [--format mp3|wav] [--samples]
//                              [--mpv NAME=VALUE]... [--verbose]

#include <QCommandLineParser>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <random>

#include "bench_support.h"

namespace {

constexpr int kRate = 44100;  // of the generated media; two 16-bit channels

struct Trial {
    double start = 0, played = 0, target = 0;
    double reported = 0;     // MpvPlayer's own answer (circular, for comparison)
    double paused = NAN;     // mpv's time-pos while paused after the seek
    double resumed = NAN;    // the first fresh time-pos after resuming
    double bracketMs = NAN;  // how long after the resume call it arrived
    qint64 outputFrame = 0;  // --samples: PCM output written before resuming, in frames
    double landed = NAN;     // --samples: the first sample after resuming, in seconds
    double warmUpMs = NAN;   // --samples: how long the output differed from the file after it
};

// Stereo 16-bit white noise, so that any 32 samples identify their place in the file.
bool writeNoiseWav(const QString& path, double seconds) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const auto frames = static_cast<quint32>(seconds * kRate);
    auto u32 = [](QByteArray& b, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    QByteArray header("RIFF");
    u32(header, 36 + frames * 4);
    header.append("WAVEfmt ");
    u32(header, 16);
    u32(header, 1 | (2 << 16));  // PCM, two channels
    u32(header, kRate);
    u32(header, kRate * 4);
    u32(header, 4 | (16 << 16));  // block align, bits per sample
    header.append("data");
    u32(header, frames * 4);
    if (file.write(header) != header.size()) return false;
    std::mt19937 noise(12345);
    std::uniform_int_distribution<int> sample(-8000, 8000);
    std::vector<qint16> chunk;
    for (quint32 done = 0; done < frames;) {
        const quint32 n = std::min<quint32>(65536, frames - done);
        chunk.resize(std::size_t(n) * 2);
        for (qint16& s : chunk)
            s = qToLittleEndian(static_cast<qint16>(sample(noise)));
        const auto bytes = qint64(chunk.size() * sizeof(qint16));
        if (file.write(reinterpret_cast<const char*>(chunk.data()), bytes) != bytes) return false;
        done += n;
    }
    return true;
}

bool decodeWithFfmpeg(const QString& media, const QString& raw) {
    QProcess ffmpeg;
    ffmpeg.start(
        QStringLiteral("ffmpeg"),
        {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
         QStringLiteral("-nostdin"), QStringLiteral("-y"), QStringLiteral("-i"), media,
         QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-ac"), QStringLiteral("2"),
         QStringLiteral("-ar"), QString::number(kRate), raw});
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0;
}

// Interleaved stereo 16-bit frames of a raw file, mapped.
class Frames {
public:
    explicit Frames(const QString& path) : file_(path) {
        if (file_.open(QIODevice::ReadOnly) && file_.size() >= 4)
            data_ = reinterpret_cast<const qint16*>(file_.map(0, file_.size()));
        if (data_) count_ = file_.size() / 4;
    }
    qint64 count() const { return count_; }
    // Whether `n` frames from `a` here equal those from `b` there, within rounding.
    bool same(qint64 a, const Frames& there, qint64 b, int n) const {
        if (a < 0 || b < 0 || a + n > count_ || b + n > there.count_) return false;
        for (qint64 i = 0; i < 2 * n; ++i)
            if (std::abs(data_[2 * a + i] - there.data_[2 * b + i]) > 2) return false;
        return true;
    }

private:
    QFile file_;
    const qint16* data_ = nullptr;
    qint64 count_ = 0;
};

// Where the output frame `o` lies in the reference, searched within `window` frames of
// `around` (nearest first).
std::optional<qint64> align(const Frames& out, const Frames& ref, qint64 o, qint64 around,
                            qint64 window) {
    for (qint64 d = 0; d <= window; ++d) {
        if (out.same(o, ref, around + d, 32)) return around + d;
        if (d && out.same(o, ref, around - d, 32)) return around - d;
    }
    return std::nullopt;
}

struct Run {
    qint64 start = 0;   // the first frame played after resuming, in the reference
    qint64 warmUp = 0;  // frames at its beginning that differ from the reference
};

// The output holds the run played before the pause (which may have run well past the pause
// position), then the one after resuming. The PCM file
// is written through a 4 KiB stdio buffer, so `onDisk` frames (what the file held while
// paused) end up to 1024 frames before the boundary. The first run is followed to its last
// matching frame; the second is aligned 0.2 s after the boundary and counted back to it, so a
// decoder's warm-up (output that differs from the reference right after a seek) does not hide
// where it starts.
std::optional<Run> locateResume(const Frames& out, const Frames& ref, qint64 onDisk,
                                double pausedAt, double target) {
    // Output as fast as it decodes runs far ahead of the position mpv reports.
    const qint64 window = 150 * kRate;
    const qint64 before = onDisk - 64;
    const auto first = align(out, ref, before, std::llround(pausedAt * kRate), window);
    if (!first) return std::nullopt;
    qint64 boundary = before;
    while (boundary < out.count() && out.same(boundary, ref, *first + (boundary - before), 1))
        ++boundary;
    const qint64 after = onDisk + 1024 + kRate / 5;
    const auto second =
        align(out, ref, after, std::llround(target * kRate) + (after - boundary), kRate / 10);
    if (!second) return std::nullopt;
    Run run;
    run.start = *second - (after - boundary);
    qint64 exact = after;
    while (exact > boundary && out.same(exact - 1, ref, run.start + (exact - 1 - boundary), 1))
        --exact;
    run.warmUp = exact - boundary;
    return run;
}

}  // namespace

int main(int argc, char* argv[]) {
    bench::preferOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({QStringLiteral("trials"), QStringLiteral("Pauses to make."),
                    QStringLiteral("N"), QStringLiteral("100")});
    args.addOption({QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("S"),
                    QStringLiteral("1")});
    args.addOption({QStringLiteral("format"), QStringLiteral("mp3 or wav."), QStringLiteral("F"),
                    QStringLiteral("mp3")});
    args.addOption({QStringLiteral("samples"),
                    QStringLiteral("Locate the resume point in the output samples.")});
    args.addOption({QStringLiteral("verbose"), QStringLiteral("Print every trial.")});
    args.addOption({QStringLiteral("mpv"), QStringLiteral("An extra mpv option (repeatable)."),
                    QStringLiteral("NAME=VALUE")});
    args.process(app);
    const int trials = args.value(QStringLiteral("trials")).toInt();
    const bool samples = args.isSet(QStringLiteral("samples"));
    const bool verbose = args.isSet(QStringLiteral("verbose"));
    const QString format = args.value(QStringLiteral("format"));

    QTemporaryDir work;
    QString media = work.filePath(QStringLiteral("noise.wav"));
    if (!writeNoiseWav(media, 600)) return std::fprintf(stderr, "bench: cannot write media\n"), 1;
    if (format != QLatin1String("wav")) {
        const QString converted = work.filePath(QStringLiteral("noise.") + format);
        if (!testmedia::convertWithFfmpeg(media, converted))
            return std::fprintf(stderr, "bench: ffmpeg cannot make the %s\n", qPrintable(format)),
                   1;
        QFile::remove(media);
        media = converted;
    }
    const QString reference = work.filePath(QStringLiteral("reference.raw"));
    const QString output = work.filePath(QStringLiteral("output.raw"));
    if (samples && !decodeWithFfmpeg(media, reference))
        return std::fprintf(stderr, "bench: ffmpeg cannot decode the media\n"), 1;

    bench::WindowOnMpv w;
    MpvOptions options;
    if (samples)
        options = {{QStringLiteral("ao"), QStringLiteral("pcm")},
                   {QStringLiteral("ao-pcm-file"), output},
                   {QStringLiteral("ao-pcm-waveheader"), QStringLiteral("no")},
                   {QStringLiteral("audio-format"), QStringLiteral("s16")}};
    options += bench::parseMpvOptions(args.values(QStringLiteral("mpv")));
    if (!w.start(media, options)) return 1;
    Session& form = *w.session;
    MpvPlayer& player = *w.player;
    if (samples) player.setVolume(100);  // unity gain: the samples pass unchanged
    w.ipc.request({QStringLiteral("observe_property"), 1, QStringLiteral("time-pos")});

    std::optional<double> asked;
    QObject::connect(&player, &MediaPlayer::seeked, [&](double s) { asked = s; });

    std::mt19937 random(args.value(QStringLiteral("seed")).toUInt());
    const double length = player.duration();
    // Fast output covers a minute of the file in 10 ms.
    std::uniform_real_distribution<double> startAt(5.0, length - (samples ? 240.0 : 30.0));
    // Played as fast as it decodes, a few milliseconds cover seconds of the file.
    std::uniform_real_distribution<double> playFor(samples ? 3.0 : 200.0, samples ? 15.0 : 1500.0);

    std::vector<Trial> done;
    int retries = 0;
    for (int i = 0; i < trials; ++i) {
        Trial t;
        t.start = startAt(random);
        t.played = playFor(random);
        if (!w.seekPaused(t.start))
            return std::fprintf(stderr, "bench: the seek to %.3f s did not finish\n", t.start), 1;
        form.transport().playPause();
        bench::runEvents(t.played);
        if (player.playState() != PlayState::Playing) {
            // Fast output can reach the end before the pause; such a trial starts over.
            if (++retries > trials) return std::fprintf(stderr, "bench: playback stalls\n"), 1;
            --i;
            continue;
        }

        asked.reset();
        const double pausedAt = bench::nowMs();
        form.transport().playPause();
        if (!asked || player.playState() != PlayState::Paused)
            return std::fprintf(stderr, "bench: the pause did not rewind (state %d)\n",
                                static_cast<int>(player.playState())),
                   1;
        t.target = *asked;
        if (!w.settleAfterSeek(pausedAt))
            return std::fprintf(stderr, "bench: mpv never finished the rewind\n"), 1;
        t.reported = player.position();
        t.paused = w.ipc.number("time-pos").value_or(NAN);
        t.outputFrame = QFileInfo(output).size() / 4;

        const double resumedAt = bench::nowMs();
        form.transport().playPause();
        // Values equal to the paused one are mpv catching up, not playback.
        for (double since = resumedAt;;) {
            const auto e = w.ipc.waitEvent(QStringLiteral("property-change"), since, 500,
                                           QStringLiteral("time-pos"));
            if (!e) break;
            const QJsonValue value = e->body.value(QStringLiteral("data"));
            if (value.isDouble() && value.toDouble() != t.paused) {
                t.resumed = value.toDouble();
                t.bracketMs = e->atMs - resumedAt;
                break;
            }
            since = e->atMs + 1e-6;
        }
        bench::runEvents(samples ? 2 : 50);
        // Pause again (the next trial seeks elsewhere anyway), unless fast output hit the end.
        if (player.playState() == PlayState::Playing) form.transport().playPause();
        w.settleAfterSeek(bench::nowMs() - 1);
        done.push_back(t);
    }
    if (!w.dialogs.errors.isEmpty())
        return std::fprintf(stderr, "bench: the window showed errors: %s\n",
                            qPrintable(w.dialogs.errors.join(QLatin1Char('\n')))),
               1;
    const double rewind = form.transport().rewindSeconds();
    w.stop();  // closes the PCM file

    int unlocated = 0;
    if (samples) {
        const Frames out(output), ref(reference);
        for (Trial& t : done) {
            if (const auto run =
                    locateResume(out, ref, t.outputFrame, t.target + rewind, t.target)) {
                t.landed = double(run->start) / kRate;
                t.warmUpMs = double(run->warmUp) * 1e3 / kRate;
            } else {
                ++unlocated;
            }
        }
    }
    if (verbose)
        for (std::size_t i = 0; i < done.size(); ++i) {
            const Trial& t = done[i];
            std::printf(
                "%3zu start %8.3f target %9.4f; ms from the target: reported %+7.3f, "
                "paused %+8.3f, ",
                i + 1, t.start, t.target, (t.reported - t.target) * 1e3,
                (t.paused - t.target) * 1e3);
            if (samples)
                std::printf("first sample %+7.3f (then %.1f ms unlike the file)\n",
                            (t.landed - t.target) * 1e3, t.warmUpMs);
            else
                std::printf("resumed %+7.3f (arrived %.3f ms after the resume call)\n",
                            (t.resumed - t.target) * 1e3, t.bracketMs);
        }

    auto fromTarget = [&](double Trial::*field, bool absolute) {
        std::vector<double> out;
        for (const Trial& t : done) {
            const double e = (t.*field - t.target) * 1e3;
            if (std::isfinite(e)) out.push_back(absolute ? std::fabs(e) : e);
        }
        return out;
    };
    // Only a value that came soon after resuming brackets the resume point usefully; one from
    // mpv's next update (every 50 ms with the null output) is left out.
    constexpr double kUsefulMs = 5.0;
    std::vector<double> upper, lower, bound, bracket;
    for (const Trial& t : done)
        if (std::isfinite(t.bracketMs) && t.bracketMs <= kUsefulMs) {
            const double u = (t.resumed - t.target) * 1e3;
            upper.push_back(u);
            lower.push_back(u - t.bracketMs);
            bound.push_back(std::max(std::fabs(u), std::fabs(u - t.bracketMs)));
            bracket.push_back(t.bracketMs);
        }

    std::printf("rewind accuracy: %zu pauses on %s (%.0f s, %s output), rewind %.1f s, seed %s\n",
                done.size(), qPrintable(QFileInfo(media).fileName()), length,
                samples ? "PCM file" : "null", rewind,
                qPrintable(args.value(QStringLiteral("seed"))));
    if (samples) {
        bench::printSummary("|first sample after resume - target|",
                            bench::summarize(fromTarget(&Trial::landed, true)), "ms");
        bench::printSummary("first sample after resume - target",
                            bench::summarize(fromTarget(&Trial::landed, false)), "ms");
        std::vector<double> warmUp;
        for (const Trial& t : done)
            if (std::isfinite(t.warmUpMs)) warmUp.push_back(t.warmUpMs);
        bench::printSummary("output unlike the file after resuming", bench::summarize(warmUp),
                            "ms");
        std::printf("resume point not found in the output: %d of %zu\n", unlocated, done.size());
    }
    // Output as fast as it decodes has no clock to read a resume point from.
    if (!samples) {
        bench::printSummary("resumed, upper bound: time-pos - target", bench::summarize(upper),
                            "ms");
        bench::printSummary("resumed, lower bound: less its arrival delay", bench::summarize(lower),
                            "ms");
        bench::printSummary("resumed, |landed - target| at most", bench::summarize(bound), "ms");
        bench::printSummary("  arrival delay after the resume call", bench::summarize(bracket),
                            "ms");
        std::printf("resumed: %zu of %zu left out (first fresh time-pos after %.0f ms)\n",
                    done.size() - upper.size(), done.size(), kUsefulMs);
    }
    bench::printSummary("paused: time-pos after the seek - target",
                        bench::summarize(fromTarget(&Trial::paused, false)), "ms");
    bench::printSummary("backend's report - target (circular)",
                        bench::summarize(fromTarget(&Trial::reported, false)), "ms");
    return 0;
}
