// How long the play/pause action takes to pause: the window plays a generated 10-minute MP3 from
// a random position for a random while, then TransportController::playPause() pauses it (and seeks
// back by the rewind time). Measured from the call, on the real libmpv backend with the null
// outputs:
//   reported  the player reports the pause (MpvPlayer's playStateChanged(Paused)), which is
//             what the window and every other observer in the process act on;
//   mpv       mpv's own pause property, as a second client sees it over the IPC socket;
//   returned  the whole handler has returned (the rewind seek issued, the toolbar updated);
//   rewound   mpv has finished the rewind seek (its last playback-restart).
//
// Usage: pause_latency_bench [--pauses N] [--seed S] [--format mp3|wav] [--mpv NAME=VALUE]...

#include <QCommandLineParser>
#include <QFileInfo>
#include <random>

#include "bench_support.h"

int main(int argc, char* argv[]) {
    bench::preferOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({QStringLiteral("pauses"), QStringLiteral("Pauses to time."),
                    QStringLiteral("N"), QStringLiteral("300")});
    args.addOption({QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("S"),
                    QStringLiteral("1")});
    args.addOption({QStringLiteral("format"), QStringLiteral("mp3 or wav."), QStringLiteral("F"),
                    QStringLiteral("mp3")});
    args.addOption({QStringLiteral("mpv"), QStringLiteral("An extra mpv option (repeatable)."),
                    QStringLiteral("NAME=VALUE")});
    args.process(app);
    const int pauses = args.value(QStringLiteral("pauses")).toInt();

    QTemporaryDir mediaDir;
    const QString media = bench::makeMedia(mediaDir.path(), args.value(QStringLiteral("format")));
    if (media.isEmpty())
        return std::fprintf(stderr, "bench: cannot generate the media (is ffmpeg installed?)\n"), 1;
    bench::WindowOnMpv w;
    if (!w.start(media, bench::parseMpvOptions(args.values(QStringLiteral("mpv"))))) return 1;
    Session& form = *w.session;
    MpvPlayer& player = *w.player;
    w.ipc.request({QStringLiteral("observe_property"), 2, QStringLiteral("pause")});

    std::optional<double> reportedAt;
    QObject::connect(&player, &MediaPlayer::playStateChanged, [&](MediaPlayer::PlayState state) {
        if (state == PlayState::Paused && !reportedAt) reportedAt = bench::nowMs();
    });

    std::mt19937 random(args.value(QStringLiteral("seed")).toUInt());
    std::uniform_real_distribution<double> startAt(5.0, player.duration() - 10.0);
    std::uniform_real_distribution<double> playFor(200.0, 800.0);
    std::vector<double> reported, mpv, returned, rewound;
    for (int i = 0; i < pauses; ++i) {
        if (!w.seekPaused(startAt(random)))
            return std::fprintf(stderr, "bench: a seek did not finish\n"), 1;
        form.transport().playPause();
        if (player.playState() != PlayState::Playing)
            return std::fprintf(stderr, "bench: the window did not start playing\n"), 1;
        bench::runEvents(playFor(random));

        reportedAt.reset();
        const double start = bench::nowMs();
        form.transport().playPause();
        const double end = bench::nowMs();
        if (!reportedAt) return std::fprintf(stderr, "bench: no pause was reported\n"), 1;
        reported.push_back(*reportedAt - start);
        returned.push_back(end - start);
        if (const auto e = w.ipc.waitEvent(QStringLiteral("property-change"), start, 1000,
                                           QStringLiteral("pause"), QJsonValue(true)))
            mpv.push_back(e->atMs - start);
        if (const auto done = w.settleAfterSeek(start)) rewound.push_back(*done - start);
    }
    if (!w.dialogs.errors.isEmpty())
        return std::fprintf(stderr, "bench: the window showed errors: %s\n",
                            qPrintable(w.dialogs.errors.join(QLatin1Char('\n')))),
               1;

    std::printf("pause latency: %d pauses on %s, from the call to PlayPause()\n", pauses,
                qPrintable(QFileInfo(media).fileName()));
    bench::printSummary("reported: playStateChanged(Paused)", bench::summarize(reported), "ms");
    bench::printSummary("mpv: pause=yes seen over IPC", bench::summarize(mpv), "ms");
    bench::printSummary("returned: PlayPause() done", bench::summarize(returned), "ms");
    bench::printSummary("rewound: last playback-restart over IPC", bench::summarize(rewound), "ms");
    return 0;
}
