// Builds the real services, the session and the main window, and runs the program.

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <QApplication>
#include <QDBusError>
#include <QSessionManager>
#include <QTimer>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/action_client.h"
#include "app/action_service.h"
#include "app/command_line.h"
#include "app/dialogs.h"
#include "app/display_probe.h"
#include "app/first_paint.h"
#include "app/main_window.h"
#include "app/mpris_service.h"
#include "app/outside_entries.h"
#include "app/portal_shortcuts.h"
#include "app/shortcut_routing.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "core/display_choice.h"
#include "core/file_name.h"
#include "keyboard/hotkey_controller.h"
#include "keyboard/hotkey_service.h"
#include "keyboard/key_state.h"
#include "keyboard/keystroke_output.h"
#include "pedal/hid_pedal_library.h"
#include "session/session.h"
#include "session/settings_location.h"
#include "session/settings_store.h"
#include "session/system_clipboard.h"
#include "transport/clock.h"
#include "transport/mpv_player.h"
#include "transport/player_view.h"
#include "web/browser_launcher.h"

namespace {
constexpr int kEndingLimitMs = 5000;

// Started with standard input, output or error closed, the next file or display connection
// opened would take that number, and a library writing a message, or closing what it believes
// is its own standard input, would hit it.
void keepStandardStreamsOpen() {
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            if (::open("/dev/null", O_RDWR) == -1) return;
}

// libmpv's automatic choice of a GPU context rejects a software renderer (any X server without
// a GPU) and goes on to probe DRM, whose failed set-up closes descriptor 0, by then perhaps a
// display connection or the media file. Naming the X11 EGL context skips that probe and takes
// the software renderer; where EGL is missing the output list goes on to xv and x11.
MpvOptions playerOptionsFor(const QString& platform) {
    if (platform != QLatin1String("xcb")) return {};
    return {{QStringLiteral("gpu-context"), QStringLiteral("x11egl")}};
}

std::function<void()> saveBeforeAbort;
QtMessageHandler previousMessageHandler = nullptr;

// What Qt says while it opens the display is held back until it has one: when it finds none it
// aborts, and one line is all the user needs. The check before it cannot see a connection that
// the server refuses a moment later (a full client table, say).
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> heldMessages;

void sayNoDisplay(const QString& reason) {
    std::fprintf(stderr, "Scribo: a graphical session is needed (%s).\n", qPrintable(reason));
}

void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        // Qt would abort on return.
        sayNoDisplay(QStringLiteral("Qt could not start its display platform"));
        std::_Exit(1);
    }
    heldMessages.append({type, QByteArray(context.category), message});
}

void releaseStartMessages(QtMessageHandler previous) {
    qInstallMessageHandler(previous);
    for (const HeldMessage& held : std::exchange(heldMessages, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        qt_message_output(held.type, context, held.text);
    }
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Qt's X11 layer says this and then exits at once.
    const bool displayLost = message.startsWith(QLatin1String("The X11 connection broke"));
    if ((type == QtFatalMsg || displayLost) && saveBeforeAbort)
        std::exchange(saveBeforeAbort, nullptr)();
    if (previousMessageHandler) previousMessageHandler(type, context, message);
}
}  // namespace

int main(int argc, char* argv[]) {
    // mpv zeroes a 10 MiB probe buffer for every file it opens. Freeing the first one would
    // raise glibc's mmap threshold to 10 MiB and leave every later one in a thread arena that
    // is never given back: about 10 MiB resident for the life of the program.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    keepStandardStreamsOpen();

    // Help and version need no display, so they are answered before Qt starts. Arguments are
    // read as file names: Qt's own reading loses bytes that are not UTF-8.
    const CommandLine early =
        ParseCommandLine(argumentsFromBytes(argc - 1, argv + 1), currentFolder());
    if (early.action == CommandLine::Help || early.action == CommandLine::Version) {
        std::fputs(qPrintable(early.action == CommandLine::Help ? HelpText() : VersionText()),
                   stdout);
        return 0;
    }
    // So are the actions run in the Scribo that is running already.
    if (early.action == CommandLine::Command) {
        QCoreApplication client(argc, argv);
        const ActionCommandResult result =
            RunActionCommand(early.actionName, QDBusConnection::sessionBus());
        std::fputs(qPrintable(result.output), stdout);
        if (!result.error.isEmpty()) std::fprintf(stderr, "Scribo: %s\n", qPrintable(result.error));
        return result.status;
    }

    // Without a display Qt aborts with advice to reinstall; say what is really missing.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        sayNoDisplay(QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set"));
        return 1;
    }

    // Nor does a display that is named but cannot be reached.
    DisplayConnector display;
    const QString unreachable =
        unreachableDisplayReason(displayTargets(currentDisplayEnvironment(argc, argv)),
                                 [&display](const DisplayTarget& t) { return display.canOpen(t); });
    if (!unreachable.isEmpty()) {
        sayNoDisplay(unreachable);
        return 1;
    }

    // Only the video picture and its ancestors need X windows of their own.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    const QtMessageHandler beforeStart = qInstallMessageHandler(holdStartMessage);
    QApplication app(argc, argv);
    releaseStartMessages(beforeStart);
    display.release();
    QCoreApplication::setApplicationName(QStringLiteral("Scribo"));
    // libmpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");

    // Read again without the options Qt has taken for itself (it takes them out of argv).
    const CommandLine command =
        ParseCommandLine(argumentsFromBytes(argc - 1, argv + 1), currentFolder());
    if (command.action == CommandLine::Fail) {
        std::fprintf(stderr, "Scribo: %s\nTry 'scribo --help'.\n", qPrintable(command.error));
        return 1;
    }
    const QDBusConnection bus = SessionBusOrNotice();
    if (command.hasTarget()) {
        const HandOver handOver = HandToRunningInstance(bus, command.targetUri());
        if (handOver.result == HandOver::Delivered) return 0;
        if (handOver.result == HandOver::Refused) {
            std::fprintf(stderr, "Scribo: %s\n", qPrintable(handOver.message));
            return 1;
        }
    }

    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const bool installed = IsInstalledProgram(programFolder, QStringLiteral(SCRIBO_INSTALL_BINDIR),
                                              QStringLiteral(SCRIBO_INSTALLED_ENTRY));
    const SettingsHome home = ChooseSettingsHome(programFolder, QStringLiteral("Scribo"), installed,
                                                 UserSettingsFolder());
    if (!home.error.isEmpty()) {
        std::fprintf(stderr, "Scribo: %s\n", qPrintable(home.error));
        return 2;
    }

    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        std::fputs(
            "Scribo: running on Wayland: staying on top is up to the compositor; use X11 for "
            "it.\n",
            stderr);

    SteadyClock clock;
    WidgetDialogs dialogs(nullptr);
    // Loading libmpv and the ~190 libraries it pulls in takes longer than building and painting
    // the window, so the player starts after the first paint. (Loaded on a thread meanwhile, it
    // holds the dynamic loader's lock, which the paint's own threads wait for.)
    const auto player = std::make_unique<MpvPlayer>(
        MpvPlayer::StartLater{}, playerOptionsFor(QGuiApplication::platformName()));
    HidPedalLibrary pedalLibrary(HidPedalLibrary::configuredLibraryName(), programFolder);
    const std::unique_ptr<KeyState> keyState = createKeyState();
    // Destroyed in reverse: the window, the session (which lets go of its keys), the key
    // controller, then the services, all before the application.
    // X11 grabs or the desktop's portal: settled at the first grab, once start-up has found
    // the settings file, whose [Scribo] Shortcuts may choose.
    const Session* settingsOwner = nullptr;
    RoutedHotkeyService hotkeyService([&settingsOwner] {
        return chooseShortcutRoute(
            ReadShortcutChoice(settingsOwner ? settingsOwner->settings().path() : QString()),
            CurrentDesktopSession());
    });
    const auto keystrokes = std::make_unique<RoutedKeystrokeOutput>(hotkeyService);
    HotkeyController hotkeys(hotkeyService, clock);
    SystemClipboard clipboard;
    DesktopBrowserLauncher browser;
    Session session({.player = player.get(),
                     .clock = &clock,
                     .dialogs = &dialogs,
                     .settingsFolder = home.folder,
                     .pedalLibrary = &pedalLibrary,
                     .keyState = keyState.get(),
                     .programFolder = programFolder,
                     .clipboard = &clipboard,
                     .hotkeys = &hotkeys,
                     .browser = &browser,
                     .keystrokes = keystrokes.get()});
    settingsOwner = &session;
    MainWindow window(session);
    dialogs.setOwner(&window);
    PortalShortcuts portal(bus);
    AttachDesktopShortcuts(hotkeyService, portal, session, window);

    if (!session.beginStartUp()) return session.exitCode();
    if (!pedalLibrary.loadError().isEmpty())
        std::fprintf(stderr, "Scribo: %s\n", qPrintable(pedalLibrary.loadError()));
    window.show();
    RunAfterFirstPaint(window, [&] {
        try {
            player->start();
            player->setVideoWindow(window.videoWindowId());
        } catch (const PlayerError& e) {
            std::fprintf(stderr, "Scribo: %s\n", e.what());
            // Started from the desktop's menu, nobody reads standard error. A window that can
            // play nothing is not left standing behind the box.
            window.hide();
            dialogs.showError(QString::fromUtf8(e.what()));
            QCoreApplication::exit(3);
            return;
        }
        session.completeStartUp();
    });

    // A logout, a shutdown or an interrupt ends as "終了する" does, within a time limit; asked
    // twice, at once. Either way what the close keeps is written.
    TerminationSignals terminationSignals;
    int endedBy = 0;
    const auto endNow = [&session, &endedBy] {
        session.saveWithoutWaiting();
        std::_Exit(128 + endedBy);
    };
    QObject::connect(&terminationSignals, &TerminationSignals::received, &app, [&](int number) {
        if (endedBy != 0) endNow();
        endedBy = number;
        QTimer::singleShot(kEndingLimitMs, &app, endNow);
        // A box waiting for an answer would hold the close up: it is answered as cancelled,
        // and the command that asked finishes before the close begins.
        for (int i = 0; i < 8 && QApplication::activeModalWidget(); ++i)
            QApplication::activeModalWidget()->close();
        QTimer::singleShot(0, &session, [&session] { session.requestEnd(); });
    });
    // The end of the desktop session: everything is written now, as the session manager may
    // end the program at any moment after asking.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &session,
                     [&session](QSessionManager&) { session.saveWithoutWaiting(); });
    // The X connection lost (the server ended, or the window was killed): Qt ends the program;
    // what the close keeps is written first.
    saveBeforeAbort = [&session] { session.saveWithoutWaiting(); };
    previousMessageHandler = qInstallMessageHandler(handleMessage);

    MprisService mpris(session.transport(), bus);
    AttachMprisToSession(mpris, session, window);
    ActionService actions([&session](HotkeyCommand key) { return session.requestKey(key); });
    // The actions first: whoever sees the bus name may call them at once.
    const bool actionsPublished = bus.isConnected() && actions.publish(bus);
    if (bus.isConnected() && (!actionsPublished || !mpris.publish()))
        std::fprintf(stderr, "Scribo: the desktop media interface could not be published: %s\n",
                     qPrintable(bus.lastError().message()));
    BindDesktopShortcuts(hotkeyService, portal);
    if (command.hasTarget()) {
        const MprisService::OpenResult opened = mpris.open(command.target);
        if (!opened.error.isEmpty()) std::fprintf(stderr, "Scribo: %s\n", qPrintable(opened.error));
    }
    const int status = app.exec();
    saveBeforeAbort = nullptr;
    return endedBy != 0 ? 128 + endedBy : status;
}
