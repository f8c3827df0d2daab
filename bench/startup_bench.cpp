// How soon a player is ready after it is asked to open a file: Scribo against cvlc and
// Parlatype, in interleaved rounds of one run. Run it under tools/with-display, as a user that
// VLC accepts (bench/startup_bench.sh arranges both).
//
//   launch  the player started with a generated 10-minute MP3 on its command line:
//             painted  launch -> its window shows pixels that are not all alike (Scribo,
//                      Parlatype; cvlc has no window)
//             length   launch -> the desktop media interface (MPRIS) reports the file's length
//   open    the player running with nothing open, the file handed over by MPRIS OpenUri:
//             length   the call -> the length reported for that file
//
// Both are polled every --poll ms (2 by default): the pixels with one GetImage of each
// top-level window of the process, the length with one Metadata read.
//
// Usage: startup_bench --scribo PATH --settings FILE [--baseline PATH] [--rounds N] [--poll MS]
// (--baseline: another scribo binary, e.g. an older build, measured alongside)

#include <signal.h>
#include <xcb/xcb.h>

#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "bench_support.h"

namespace {
struct Player {
    QString name;
    QString program;
    QStringList arguments;  // before the file
    QString busName;
    bool hasWindow;
};

class Screen {
public:
    Screen() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~Screen() { xcb_disconnect(connection_); }
    bool ok() const { return !xcb_connection_has_error(connection_); }

    // Whether a viewable top-level window of the process shows pixels that are not all alike.
    bool painted(qint64 pid) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        auto* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr);
        if (!tree) return false;
        bool seen = false;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !seen; ++i)
            seen = ownedBy(children[i], pid) && showsSomething(children[i]);
        std::free(tree);
        return seen;
    }

private:
    bool ownedBy(xcb_window_t window, qint64 pid) {
        auto* attributes = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (!viewable) return false;
        auto* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, window, pidAtom(), XCB_ATOM_CARDINAL, 0, 1), nullptr);
        const bool owned = reply && xcb_get_property_value_length(reply) == 4 &&
                           *static_cast<quint32*>(xcb_get_property_value(reply)) == pid;
        std::free(reply);
        return owned;
    }
    bool showsSomething(xcb_window_t window) {
        auto* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        if (!geometry) return false;
        auto* image =
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              geometry->width, geometry->height, ~0u),
                                nullptr);
        std::free(geometry);
        if (!image) return false;
        const auto* pixels = reinterpret_cast<const quint32*>(xcb_get_image_data(image));
        const int count = xcb_get_image_data_length(image) / 4;
        bool varied = false;
        for (int i = 1; i < count && !varied; ++i)
            varied = (pixels[i] & 0xffffff) != (pixels[0] & 0xffffff);
        std::free(image);
        return varied;
    }
    xcb_atom_t pidAtom() {
        if (pidAtom_ != XCB_NONE) return pidAtom_;
        auto* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, 11, "_NET_WM_PID"), nullptr);
        if (reply) pidAtom_ = reply->atom;
        std::free(reply);
        return pidAtom_;
    }
    xcb_connection_t* connection_;
    xcb_atom_t pidAtom_ = XCB_NONE;
};

// The MPRIS metadata's length (any unit) of the given file, 0 while unknown.
qint64 reportedLength(const QString& busName, const QUrl& file) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        busName, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("Metadata");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return 0;
    QVariantMap metadata;
    reply.arguments().constFirst().value<QDBusVariant>().variant().value<QDBusArgument>() >>
        metadata;
    const QUrl shown(metadata.value(QStringLiteral("xesam:url")).toString());
    if (shown.toLocalFile() != file.toLocalFile()) return 0;
    return metadata.value(QStringLiteral("mpris:length")).toLongLong();
}

bool busNameUp(const QString& name) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name);
}

struct Timing {
    std::optional<double> painted, length;
};

class Run {
public:
    Run(const Player& player, double pollMs, Screen& screen)
        : player_(player), pollMs_(pollMs), screen_(screen) {}
    ~Run() { stop(); }

    // Starts the player with the file (or none) and times what the launch measures.
    Timing launch(const QString& file) {
        Timing timing;
        const double start = bench::nowMs();
        process_.start(player_.program, player_.arguments + QStringList(file));
        const QUrl url = QUrl::fromLocalFile(file);
        while (bench::nowMs() - start < 15000 && process_.state() != QProcess::NotRunning) {
            const double now = bench::nowMs();
            if (player_.hasWindow && !timing.painted && screen_.painted(process_.processId()))
                timing.painted = now - start;
            if (!timing.length && reportedLength(player_.busName, url) > 0)
                timing.length = now - start;
            if (timing.length && (timing.painted || !player_.hasWindow)) break;
            QThread::usleep(static_cast<unsigned long>(pollMs_ * 1000));
        }
        return timing;
    }
    // Starts the player without a file, lets it settle, then times an OpenUri of the file.
    std::optional<double> openUri(const QString& file) {
        process_.start(player_.program, player_.arguments);
        if (!bench::runEventsUntil([&] { return busNameUp(player_.busName); }, 15000)) return {};
        bench::runEvents(1500);
        const QUrl url = QUrl::fromLocalFile(file);
        const double start = bench::nowMs();
        QDBusMessage call = QDBusMessage::createMethodCall(
            player_.busName, QStringLiteral("/org/mpris/MediaPlayer2"),
            QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("OpenUri"));
        call << url.toString();
        QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
        while (bench::nowMs() - start < 15000) {
            if (reportedLength(player_.busName, url) > 0) return bench::nowMs() - start;
            QThread::usleep(static_cast<unsigned long>(pollMs_ * 1000));
        }
        return {};
    }
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(2000);
        // The next start must not hand its file to a player still leaving the bus.
        bench::runEventsUntil([&] { return !busNameUp(player_.busName); }, 5000);
    }

private:
    const Player& player_;
    double pollMs_;
    Screen& screen_;
    QProcess process_;
};

void report(const char* what, const std::map<QString, std::vector<double>>& samples,
            const std::vector<Player>& players) {
    const auto scribo = samples.find(QStringLiteral("scribo"));
    if (scribo == samples.end() || scribo->second.empty()) return;
    const double ours = bench::summarize(scribo->second).median;
    for (const Player& player : players) {
        const auto it = samples.find(player.name);
        if (it == samples.end() || it->second.empty()) continue;
        const bench::Summary s = bench::summarize(it->second);
        std::printf(
            "%-8s %-10s n=%-3zu median %8.1f ms  min %8.1f  max %8.1f   scribo / it %5.2f\n", what,
            qPrintable(player.name), s.count, s.median, s.min, s.max, ours / s.median);
    }
}
}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption(
        {QStringLiteral("scribo"), QStringLiteral("The scribo binary."), QStringLiteral("PATH")});
    args.addOption({QStringLiteral("settings"), QStringLiteral("Its settings file to copy."),
                    QStringLiteral("FILE")});
    args.addOption({QStringLiteral("baseline"),
                    QStringLiteral("Another scribo binary to compare, e.g. an older build."),
                    QStringLiteral("PATH")});
    args.addOption({QStringLiteral("rounds"), QStringLiteral("Rounds."), QStringLiteral("N"),
                    QStringLiteral("7")});
    args.addOption({QStringLiteral("poll"), QStringLiteral("Polling interval."),
                    QStringLiteral("MS"), QStringLiteral("2")});
    args.process(app);
    Screen screen;
    if (!screen.ok() || !QDBusConnection::sessionBus().isConnected())
        return std::fprintf(stderr, "bench: run me under tools/with-display\n"), 1;

    QTemporaryDir folder;
    const QString media = bench::makeMedia(folder.path(), QStringLiteral("mp3"));
    const QString program = folder.path() + QStringLiteral("/scribo");
    if (media.isEmpty() || !QFile::copy(args.value(QStringLiteral("scribo")), program))
        return std::fprintf(stderr, "bench: no media or no scribo\n"), 1;
    // Handed over by OpenUri: a player that reopens its last file at start has not got it yet.
    const QString other = folder.path() + QStringLiteral("/other.mp3");
    QFile::copy(media, other);

    std::vector<Player> players = {
        {QStringLiteral("scribo"),
         program,
         {},
         QStringLiteral("org.mpris.MediaPlayer2.scribo"),
         true},
        {QStringLiteral("cvlc"),
         QStringLiteral("cvlc"),
         {QStringLiteral("-A"), QStringLiteral("dummy"), QStringLiteral("--no-video"),
          QStringLiteral("--control"), QStringLiteral("dbus")},
         QStringLiteral("org.mpris.MediaPlayer2.vlc"),
         false},
        {QStringLiteral("parlatype"),
         QStringLiteral("parlatype"),
         {},
         QStringLiteral("org.mpris.MediaPlayer2.parlatype"),
         true},
    };
    // A folder of its own, for a settings file of its own.
    if (const QString baseline = args.value(QStringLiteral("baseline")); !baseline.isEmpty()) {
        QDir(folder.path()).mkdir(QStringLiteral("before"));
        const QString copy = folder.path() + QStringLiteral("/before/scribo");
        if (!QFile::copy(baseline, copy)) return std::fprintf(stderr, "bench: no baseline\n"), 1;
        players.insert(players.begin() + 1, {QStringLiteral("scribo-before"),
                                             copy,
                                             {},
                                             QStringLiteral("org.mpris.MediaPlayer2.scribo"),
                                             true});
    }
    const int rounds = args.value(QStringLiteral("rounds")).toInt();
    const double poll = args.value(QStringLiteral("poll")).toDouble();
    std::map<QString, std::vector<double>> painted, length, opened;
    for (int round = 0; round < rounds; ++round) {
        for (const Player& player : players) {
            const QString settings =
                QFileInfo(player.program).absolutePath() + QStringLiteral("/Scribo.inf");
            const auto freshSettings = [&] {
                // No file remembered from the run before.
                QFile::remove(settings);
                QFile::copy(args.value(QStringLiteral("settings")), settings);
                QFile::setPermissions(settings, QFile::ReadOwner | QFile::WriteOwner);
            };
            freshSettings();
            Timing timing;
            {
                Run run(player, poll, screen);
                timing = run.launch(media);
            }
            if (timing.painted) painted[player.name].push_back(*timing.painted);
            if (timing.length) length[player.name].push_back(*timing.length);
            freshSettings();
            std::optional<double> open;
            {
                Run run(player, poll, screen);
                open = run.openUri(other);
            }
            if (open) opened[player.name].push_back(*open);
            std::printf("round %d %-10s painted %7.1f  length %7.1f  open->length %7.1f ms\n",
                        round + 1, qPrintable(player.name), timing.painted.value_or(-1),
                        timing.length.value_or(-1), open.value_or(-1));
            std::fflush(stdout);
        }
    }
    std::printf("\nmedians over %d rounds, polled every %.0f ms:\n", rounds, poll);
    report("painted", painted, players);
    report("length", length, players);
    report("open", opened, players);
    return 0;
}
