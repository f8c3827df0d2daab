// What playing costs: the window and the player built exactly as main.cpp builds them (the real
// MpvPlayer with its default options, WidgetDialogs, SteadyClock; run it with
// QT_QPA_PLATFORM=offscreen), started on a program folder whose settings file names a media file
// and a position, so that start-up opens and restores it. After the 1 s length probe has paused
// it, PlayPause() starts playback (or, with --idle, nothing does), and after the given seconds
// the process reports its CPU time and memory and ends. Left out of main.cpp's work: the
// command line, the single-instance hand-over and the desktop media interface on D-Bus.
//
// Usage: play_cost_bench [--seconds N] [--idle] [--breakdown] [--mpv NAME=VALUE]... FOLDER
// Prints one line "cpu_user_s=... cpu_system_s=... peak_rss_kib=... rss_kib=... played_s=...",
// and with --breakdown the CPU time of each thread and the resident memory of each mapping.

#include <malloc.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <clocale>
#include <map>

#include "app/dialogs.h"
#include "bench_support.h"
#include "keyboard/key_state.h"
#include "pedal/hid_pedal_library.h"
#include "transport/player_view.h"

namespace {

// CPU seconds of each live thread, by name (threads that ended are only in the total).
void printThreads() {
    const double tick = double(sysconf(_SC_CLK_TCK));
    std::map<QString, double> byName;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + QStringLiteral("/comm")));
        QFile stat(tasks.filePath(tid + QStringLiteral("/stat")));
        if (!comm.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly)) continue;
        const QString name = QString::fromUtf8(comm.readAll().trimmed());
        // Fields after the parenthesised name: utime and stime are the 12th and 13th.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13) continue;
        byName[name] += (fields[11].toDouble() + fields[12].toDouble()) / tick;
    }
    std::vector<std::pair<double, QString>> sorted;
    for (const auto& [name, seconds] : byName)
        sorted.emplace_back(seconds, name);
    std::sort(sorted.rbegin(), sorted.rend());
    std::printf("CPU seconds by thread:\n");
    for (const auto& [seconds, name] : sorted)
        std::printf("  %7.3f  %s\n", seconds, qPrintable(name));
}

// Resident memory by mapped file (anonymous memory under its kind), largest first.
void printMappings() {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return;
    std::map<QString, long> byMapping;
    QString current;
    for (const QByteArray& raw : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = raw.simplified().split(' ');
        if (fields.isEmpty() || fields[0].isEmpty()) continue;
        if (fields[0].contains('-') && !fields[0].endsWith(':')) {
            current =
                fields.size() >= 6 ? QString::fromUtf8(fields[5]) : QStringLiteral("[anonymous]");
        } else if (fields[0] == "Rss:" && fields.size() >= 2) {
            byMapping[current] += fields[1].toLong();
        }
    }
    std::vector<std::pair<long, QString>> sorted;
    long total = 0;
    for (const auto& [name, kib] : byMapping) {
        sorted.emplace_back(kib, name);
        total += kib;
    }
    std::sort(sorted.rbegin(), sorted.rend());
    std::printf("Resident KiB by mapping (total %ld):\n", total);
    for (std::size_t i = 0; i < sorted.size() && i < 25; ++i)
        std::printf("  %7ld  %s\n", sorted[i].first, qPrintable(sorted[i].second));
}

void printStage(const char* stage, const bench::ProcessCost& cost) {
    std::printf("  %-34s %7.3f CPU-s  %7ld KiB resident  %7ld KiB peak\n", stage,
                cost.userSeconds + cost.systemSeconds, cost.rssKiB, cost.peakRssKiB);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before any code of ours has run: what loading the libraries alone costs.
    const bench::ProcessCost loaded = bench::processCost();
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);  // as main.cpp does
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Scribo"));
    std::setlocale(LC_NUMERIC, "C");

    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({QStringLiteral("seconds"), QStringLiteral("How long to play."),
                    QStringLiteral("N"), QStringLiteral("60")});
    args.addOption({QStringLiteral("idle"), QStringLiteral("Stay paused instead.")});
    args.addOption({QStringLiteral("breakdown"),
                    QStringLiteral("Print CPU by thread and memory by mapping.")});
    args.addOption({QStringLiteral("mpv"), QStringLiteral("An extra mpv option (repeatable)."),
                    QStringLiteral("NAME=VALUE")});
    args.addPositionalArgument(QStringLiteral("folder"),
                               QStringLiteral("Program folder with the settings file."));
    args.process(app);
    if (args.positionalArguments().size() != 1) args.showHelp(2);
    const int seconds = args.value(QStringLiteral("seconds")).toInt();
    const bool idle = args.isSet(QStringLiteral("idle"));
    const QString folder = QDir(args.positionalArguments().constFirst()).absolutePath() + '/';

    const bench::ProcessCost started = bench::processCost();
    SteadyClock clock;
    WidgetDialogs dialogs(nullptr);
    MpvPlayer player(bench::parseMpvOptions(args.values(QStringLiteral("mpv"))));
    const bench::ProcessCost playerMade = bench::processCost();
    // The pedal as the program has it, so that its poll counts too.
    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    HidPedalLibrary pedalLibrary(HidPedalLibrary::configuredLibraryName(), programFolder);
    const std::unique_ptr<KeyState> keyState = createKeyState();
    Session session({.player = &player,
                     .clock = &clock,
                     .dialogs = &dialogs,
                     .settingsFolder = folder,
                     .pedalLibrary = &pedalLibrary,
                     .keyState = keyState.get(),
                     .programFolder = programFolder});
    MainWindow window(session);
    dialogs.setOwner(&window);
    player.setVideoWindow(window.videoWindowId());
    const bench::ProcessCost formMade = bench::processCost();
    if (!session.startUp()) return session.exitCode();
    window.show();
    QCoreApplication::processEvents();
    const bench::ProcessCost shown = bench::processCost();
    if (session.transport().mediaPath().isEmpty()) {
        std::fprintf(stderr, "bench: the settings file names no media file that exists\n");
        return 1;
    }

    double startedAt = 0;
    bench::ProcessCost probed;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (session.transport()
                .findChild<QTimer*>(QStringLiteral("lengthProbeTimer"))
                ->isActive() ||
            player.playState() != PlayState::Paused)
            return;
        probe.stop();
        probed = bench::processCost();
        startedAt = player.position();
        if (!idle) session.transport().playPause();
        QTimer::singleShot(seconds * 1000, &app, [&] {
            const double played = player.position() - startedAt;
            const bench::ProcessCost cost = bench::processCost();
            std::printf(
                "cpu_user_s=%.3f cpu_system_s=%.3f peak_rss_kib=%ld rss_kib=%ld played_s=%.3f\n",
                cost.userSeconds, cost.systemSeconds, cost.peakRssKiB, cost.rssKiB, played);
            if (args.isSet(QStringLiteral("breakdown"))) {
                std::printf("By stage (cumulative):\n");
                printStage("libraries loaded, main() entered", loaded);
                printStage("QApplication made", started);
                printStage("MpvPlayer made", playerMade);
                printStage("window built", formMade);
                printStage("start-up done (media opening), shown", shown);
                printStage("media opened, length probe done", probed);
                printStage(idle ? "after the idle wait" : "after playing", cost);
                printThreads();
                printMappings();
            }
            std::fflush(stdout);
            app.exit(idle || played > seconds - 2 ? 0 : 3);
        });
    });
    probe.start();
    return app.exec();
}
