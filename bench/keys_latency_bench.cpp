// How fast the system-wide keys act, with the real binary on an X server while the typist's
// editor (yad) has the focus. Run it under tools/with-display. Keys are sent through XTest from
// this program; the moments inside Scribo come from its opt-in timing trace
// (SCRIBO_TIMING_TRACE=1: a line on standard error at the key press, when the pause and the
// rewind seek have gone to mpv, when the command has run, when mpv has finished the seek - seen
// by a thread of mpv's own and again by the window - and when Ctrl+V goes out), stamped with
// the monotonic clock that this program reads too.
//
//   Pause, playing a generated 10-minute MP3 for 0.2-0.8 s, then Pause again:
//     delivery  XTest press sent  -> Scribo sees the key press
//     handled   key press         -> the command has run (window and observers told)
//     rewound   key press         -> mpv has finished the rewind seek (paused and rewound),
//               split into Scribo's part (key -> seek sent) and mpv's (seek sent -> done)
//     heard     key press         -> the window has heard that the seek is done
//     total     XTest press sent  -> rewound
//   Ctrl+Insert, paused:
//     sent      XTest keys sent   -> Scribo sends Ctrl+V (it waits until the keys are up)
//     shown     XTest keys sent   -> the editor's window shows different pixels (each time
//               code then gets a line of its own, and the editor settles, before the next)
//
// Usage: keys_latency_bench [--pauses N] [--pastes N] [--seed S]

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QCommandLineParser>
#include <QDir>
#include <QProcess>
#include <random>

#include "bench_support.h"
#include "keyboard/x11_keymap.h"

namespace {
enum : quint32 {
    XkPause = 0xff13,
    XkInsert = 0xff63,
    XkControlL = 0xffe3,
    XkAltL = 0xffe9,
    XkReturn = 0xff0d
};

struct Mark {
    double ms;
    QByteArray event;
};

// The real binary in a folder of its own, its trace gathered as it comes.
class Scribo {
public:
    bool start(const QString& binary, const QString& media, const QString& folder) {
        const QString copy = folder + QStringLiteral("/scribo");
        if (!QFile::copy(binary, copy)) return false;
        QFile settings(folder + QStringLiteral("/Scribo.inf"));
        if (!settings.open(QIODevice::WriteOnly)) return false;
        // Rewind 2.5 s; the window out of the editor's way; Alt + letters for the editor.
        settings.write(
            "[FormPosition]\r\nTop=600\r\nLeft=800\r\n[Play]\r\nAutoBackSpace=7\r\n"
            "[Menu]\r\nDontUseAltPrintableKey=1\r\n");
        settings.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SCRIBO_TIMING_TRACE"), QStringLiteral("1"));
        process_.setProcessEnvironment(environment);
        process_.setReadChannel(QProcess::StandardError);
        QObject::connect(&process_, &QProcess::readyReadStandardError, [this] { read(); });
        process_.start(copy, {media});
        return process_.waitForStarted(5000);
    }
    ~Scribo() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
    }
    const std::vector<Mark>& marks() const { return marks_; }
    // The first mark of the event from the given index on.
    std::optional<double> find(std::size_t from, const char* event) const {
        for (std::size_t i = from; i < marks_.size(); ++i)
            if (marks_[i].event == event) return marks_[i].ms;
        return std::nullopt;
    }

private:
    void read() {
        while (process_.canReadLine()) {
            const QByteArray line = process_.readLine().trimmed();
            if (!line.startsWith("scribo-timing ")) continue;
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() >= 3) marks_.push_back({fields[1].toDouble(), fields[2]});
        }
    }
    QProcess process_{};
    std::vector<Mark> marks_;
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// Another X client that presses keys and looks at the editor's pixels.
class Desk {
public:
    Desk() : connection_(xcb_connect(nullptr, nullptr)), keymap_(connection_) { keymap_.reload(); }
    ~Desk() { xcb_disconnect(connection_); }
    bool ok() const { return !xcb_connection_has_error(connection_); }
    xcb_keycode_t keycode(quint32 keysym) const { return keymap_.keycodeOf(keysym); }
    void send(quint8 type, xcb_keycode_t keycode) {
        xcb_test_fake_input(connection_, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    void flush() { xcb_flush(connection_); }
    // The text area's pixels: the window but its button row, where GTK draws a focus ring
    // once keys are used.
    QByteArray pixels(xcb_window_t window) {
        auto* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        if (!geometry) return {};
        auto* image = xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width,
                          quint16(geometry->height * 3 / 4), ~0u),
            nullptr);
        std::free(geometry);
        if (!image) return {};
        QByteArray bytes(reinterpret_cast<const char*>(xcb_get_image_data(image)),
                         xcb_get_image_data_length(image));
        std::free(image);
        return bytes;
    }

private:
    xcb_connection_t* connection_;
    X11Keymap keymap_;
};
}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({QStringLiteral("pauses"), QStringLiteral("Pauses to time."),
                    QStringLiteral("N"), QStringLiteral("300")});
    args.addOption({QStringLiteral("pastes"), QStringLiteral("Time-code pastes to time."),
                    QStringLiteral("N"), QStringLiteral("100")});
    args.addOption({QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("S"),
                    QStringLiteral("1")});
    args.process(app);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return std::fprintf(stderr, "bench: run me under tools/with-display\n"), 1;

    QTemporaryDir dir;
    const QString media = bench::makeMedia(dir.path(), QStringLiteral("mp3"));
    if (media.isEmpty())
        return std::fprintf(stderr, "bench: cannot generate the media (is ffmpeg installed?)\n"), 1;
    Scribo scribo;
    if (!scribo.start(QStringLiteral(SCRIBO_BINARY), media, dir.path()))
        return std::fprintf(stderr, "bench: cannot start %s\n", SCRIBO_BINARY), 1;
    const auto status = [] {
        return run(QStringLiteral("playerctl"),
                   {QStringLiteral("-p"), QStringLiteral("scribo"), QStringLiteral("status")});
    };
    if (!bench::runEventsUntil([&] { return status() == QLatin1String("Paused"); }, 30000))
        return std::fprintf(stderr, "bench: Scribo did not get ready\n"), 1;

    // The editor, with a steady cursor so that only the paste changes its pixels, clear of
    // Scribo's window (no window manager: the pixels of a window under another are the other's).
    const QString gtk = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/gtk-3.0");
    QDir().mkpath(gtk);
    QFile gtkSettings(gtk + QStringLiteral("/settings.ini"));
    if (gtkSettings.open(QIODevice::WriteOnly))
        gtkSettings.write("[Settings]\ngtk-cursor-blink=false\ngtk-enable-animations=false\n");
    gtkSettings.close();
    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral("yad"),
                 {QStringLiteral("--text-info"), QStringLiteral("--editable"),
                  QStringLiteral("--title=bench editor"), QStringLiteral("--geometry=500x300+0+0"),
                  QStringLiteral("--button=_Done:0")});
    QString editorWindow;
    bench::runEventsUntil(
        [&] {
            editorWindow = run(QStringLiteral("xdotool"),
                               {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                QStringLiteral("--name"), QStringLiteral("^bench editor$")})
                               .section(QLatin1Char('\n'), -1);
            return !editorWindow.isEmpty();
        },
        15000);
    if (editorWindow.isEmpty()) return std::fprintf(stderr, "bench: yad did not show\n"), 1;
    run(QStringLiteral("xdotool"),
        {QStringLiteral("windowfocus"), QStringLiteral("--sync"), editorWindow});
    bench::runEvents(500);

    Desk desk;
    const xcb_keycode_t pause = desk.keycode(XkPause), insert = desk.keycode(XkInsert),
                        control = desk.keycode(XkControlL);
    if (!desk.ok() || !pause || !insert || !control)
        return std::fprintf(stderr, "bench: no X keyboard to press\n"), 1;
    const auto tap = [&](xcb_keycode_t key) {
        desk.send(XCB_KEY_PRESS, key);
        desk.send(XCB_KEY_RELEASE, key);
        desk.flush();
    };

    std::printf("%s", qPrintable(run(QStringLiteral("uptime"), {}) + QLatin1Char('\n')));
    std::mt19937 random(args.value(QStringLiteral("seed")).toUInt());
    std::uniform_real_distribution<double> playFor(200, 800), startAt(10, 590);
    std::vector<double> delivery, handled, rewound, windowHeard, ourPart, playerPart, total;
    const int pauses = args.value(QStringLiteral("pauses")).toInt();
    for (int i = 0; i < pauses; ++i) {
        // From a random place, so that the rewind always has room to go back.
        run(QStringLiteral("playerctl"),
            {QStringLiteral("-p"), QStringLiteral("scribo"), QStringLiteral("position"),
             QString::number(startAt(random), 'f', 3)});
        std::size_t from = scribo.marks().size();
        tap(pause);
        if (!bench::runEventsUntil([&] { return scribo.find(from, "handled").has_value(); }, 3000))
            return std::fprintf(stderr, "bench: Pause did not start playing\n"), 1;
        bench::runEvents(playFor(random));
        from = scribo.marks().size();
        const double sent = bench::nowMs();
        tap(pause);
        if (!bench::runEventsUntil(
                [&] {
                    return scribo.find(from, "seek-done") && scribo.find(from, "player-seek-done");
                },
                3000))
            return std::fprintf(stderr, "bench: Pause did not pause and rewind\n"), 1;
        const double key = *scribo.find(from, "key");
        const double done = *scribo.find(from, "player-seek-done");
        delivery.push_back(key - sent);
        handled.push_back(*scribo.find(from, "handled") - key);
        rewound.push_back(done - key);
        windowHeard.push_back(*scribo.find(from, "seek-done") - key);
        if (const auto issued = scribo.find(from, "seek-issued")) {
            ourPart.push_back(*issued - key);
            playerPart.push_back(done - *issued);
        }
        total.push_back(done - sent);
    }
    if (status() != QLatin1String("Paused"))
        return std::fprintf(stderr, "bench: the player is not paused after the pauses\n"), 1;

    std::vector<double> pasteSent, shown, editorTook;
    const int pastes = args.value(QStringLiteral("pastes")).toInt();
    const auto window = xcb_window_t(editorWindow.toULong());
    const auto settle = [&] {
        QByteArray last = desk.pixels(window);
        for (bool steady = false; !steady;) {
            bench::runEvents(50);
            const QByteArray now = desk.pixels(window);
            steady = now == last;
            last = now;
        }
    };
    for (int i = 0; i < pastes; ++i) {
        const QByteArray before = desk.pixels(window);
        const std::size_t from = scribo.marks().size();
        const double sent = bench::nowMs();
        desk.send(XCB_KEY_PRESS, control);
        tap(insert);
        desk.send(XCB_KEY_RELEASE, control);
        desk.flush();
        double seen = 0;
        // Polling, not waiting: each look at the pixels is one round trip to the server.
        if (!bench::runEventsUntil(
                [&] { return desk.pixels(window) != before && (seen = bench::nowMs()) > 0; }, 5000))
            return std::fprintf(stderr, "bench: the time code did not reach the editor\n"), 1;
        shown.push_back(seen - sent);
        bench::runEventsUntil([&] { return scribo.find(from, "paste").has_value(); }, 2000);
        if (const auto paste = scribo.find(from, "paste")) {
            pasteSent.push_back(*paste - sent);
            editorTook.push_back(seen - *paste);
        }
        // Each time code on a line of its own, as a transcript has them (one very long line
        // slows the editor's layout down, which is not what this measures); then the editor
        // settles before the next paste.
        settle();
        const QByteArray beforeReturn = desk.pixels(window);
        tap(desk.keycode(XkReturn));
        bench::runEventsUntil([&] { return desk.pixels(window) != beforeReturn; }, 5000);
        settle();
    }
    // The editor's Done button (Alt+D) hands its text over: one time code per paste, or the
    // pixels changed for another reason.
    desk.send(XCB_KEY_PRESS, desk.keycode(XkAltL));
    tap(desk.keycode('d'));
    desk.send(XCB_KEY_RELEASE, desk.keycode(XkAltL));
    desk.flush();
    if (!editor.waitForFinished(5000)) editor.kill();
    const int codes =
        QString::fromUtf8(editor.readAllStandardOutput()).count(QStringLiteral("{▼["));
    if (codes != pastes)
        return std::fprintf(stderr, "bench: the editor holds %d time codes, not %d\n", codes,
                            pastes),
               1;

    bench::printSummary("Pause: delivery (XTest -> key seen)", bench::summarize(delivery), "ms");
    bench::printSummary("Pause: handled (key -> command run)", bench::summarize(handled), "ms");
    bench::printSummary("Pause: rewound (key -> paused, seek done)", bench::summarize(rewound),
                        "ms");
    bench::printSummary("  of which Scribo (key -> seek sent to mpv)", bench::summarize(ourPart),
                        "ms");
    bench::printSummary("  of which mpv (seek sent -> seek done)", bench::summarize(playerPart),
                        "ms");
    bench::printSummary("Pause: the window hears of it (key -> seek done seen)",
                        bench::summarize(windowHeard), "ms");
    bench::printSummary("Pause: total (XTest -> paused, seek done)", bench::summarize(total), "ms");
    bench::printSummary("Ctrl+Insert: Ctrl+V sent", bench::summarize(pasteSent), "ms");
    bench::printSummary("Ctrl+Insert: shown in the editor", bench::summarize(shown), "ms");
    bench::printSummary("  of which the editor (Ctrl+V -> shown)", bench::summarize(editorTook),
                        "ms");
    std::printf("%s", qPrintable(run(QStringLiteral("uptime"), {}) + QLatin1Char('\n')));
    return 0;
}
