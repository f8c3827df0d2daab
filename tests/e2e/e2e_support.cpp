#include "e2e/e2e_support.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <cstdlib>

#include "core/file_name.h"
#include "fakes/test_files.h"

namespace {
const QRegularExpression& parentIsRoot() {
    // No window manager here: a top-level window's parent is the root window.
    static const QRegularExpression pattern(
        QStringLiteral("Parent window id: \\S+ \\(the root window\\)"));
    return pattern;
}
}  // namespace

ScriboProcess::ScriboProcess() {
    // The binary looks for its settings beside itself, so each test gets a copy in a folder of
    // its own (a link would resolve back to the build folder).
    if (!QFile::copy(QStringLiteral(SCRIBO_BINARY), binary()))
        qFatal("cannot copy the binary under test");
    QFile::setPermissions(binary(),
                          QFileDevice::ExeOwner | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

ScriboProcess::~ScriboProcess() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(5000)) process_->kill();
        process_->waitForFinished(2000);
    }
}

void ScriboProcess::writeSettings(const QByteArray& lines, const QString& name) {
    testfiles::writeCrLf(folder() + name, lines);
}

QByteArray ScriboProcess::settingsBytes(const QString& name) const {
    return testfiles::readAll(folder() + name);
}

void ScriboProcess::start(const QStringList& arguments) {
    process_ = std::make_unique<QProcess>();
    process_->setProgram(binary());
    process_->setArguments(arguments);
    // QProcess hands arguments over as UTF-8 text; a file name that is other bytes is spelled
    // in octal for the shell's printf, which then runs Scribo in its own place (exec).
    const auto isText = [](const QString& a) { return fileNameToBytes(a) == a.toUtf8(); };
    if (!std::all_of(arguments.begin(), arguments.end(), isText)) {
        QString script = QStringLiteral("exec \"$0\"");
        for (const QString& argument : arguments) {
            QString spelled;
            for (const char byte : fileNameToBytes(argument))
                spelled += QStringLiteral("\\%1").arg(static_cast<unsigned char>(byte), 3, 8,
                                                      QLatin1Char('0'));
            script += QStringLiteral(" \"$(printf '%1')\"").arg(spelled);
        }
        process_->setProgram(QStringLiteral("/bin/sh"));
        process_->setArguments({QStringLiteral("-c"), script, binary()});
    }
    process_->start();
    process_->waitForStarted(5000);
}

bool ScriboProcess::waitForExit(int ms) {
    return process_->waitForFinished(ms);
}

quint64 ScriboProcess::waitForWindow(int ms) {
    quint64 id = 0;
    const QString pid = QString::number(process_->processId());
    waitUntil(
        [&] {
            const QStringList ids =
                runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--pid"), pid, QStringLiteral("--name"),
                         QStringLiteral("^Scribo$")})
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            // The video picture's native ancestors carry the same name and process id; the
            // main window is the top-level one.
            for (const QString& candidate : ids) {
                const QString tree =
                    runTool(QStringLiteral("xwininfo"),
                            {QStringLiteral("-children"), QStringLiteral("-id"), candidate});
                if (parentIsRoot().match(tree).hasMatch()) {
                    id = candidate.toULongLong();
                    return id != 0;
                }
            }
            return false;
        },
        ms);
    if (id == 0) {
        // Say why, for a failure seen only on another machine.
        const bool running = process_->state() != QProcess::NotRunning;
        qWarning("no window from Scribo (%s); its standard error: %s",
                 running ? "still running"
                         : qPrintable(QStringLiteral("ended with status %1")
                                          .arg(process_->exitStatus() == QProcess::NormalExit
                                                   ? process_->exitCode()
                                                   : -1)),
                 process_->readAllStandardError().constData());
    }
    return id;
}

QStringList messageBoxes(ScriboProcess& scribo, quint64 mainWindow) {
    QStringList found;
    const QStringList ids =
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 QString::number(scribo.process().processId()), QStringLiteral("--name"),
                 QStringLiteral("^Scribo$")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        if (id.toULongLong() == mainWindow) continue;
        const QString tree = runTool(QStringLiteral("xwininfo"),
                                     {QStringLiteral("-children"), QStringLiteral("-id"), id});
        if (parentIsRoot().match(tree).hasMatch()) found << id;
    }
    return found;
}

bool dismissMessageBoxes(ScriboProcess& scribo, quint64 mainWindow) {
    return waitUntil(
        [&] {
            const QStringList shown = messageBoxes(scribo, mainWindow);
            if (shown.isEmpty()) return true;
            runTool(QStringLiteral("xdotool"),
                    {QStringLiteral("windowfocus"), QStringLiteral("--sync"), shown.constFirst()});
            runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
            return false;
        },
        10000);
}

ScopedEnv::ScopedEnv(const char* name, const QString& value)
    : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value.toLocal8Bit());
}

VideoLeakCheck::VideoLeakCheck()
    : options_("ASAN_OPTIONS",
#if defined(__SANITIZE_ADDRESS__)
               QStringLiteral("detect_leaks=0:abort_on_error=1")
#else
               qEnvironmentVariableIsSet("ASAN_OPTIONS") ? qEnvironmentVariable("ASAN_OPTIONS")
                                                         : QString()
#endif
      ) {
}

ScopedEnv::~ScopedEnv() {
    if (had_)
        qputenv(name_, old_);
    else
        qunsetenv(name_);
}

StandinPedal::StandinPedal(const QString& folder)
    : script_(folder + QStringLiteral("pedal-script.txt")),
      log_(folder + QStringLiteral("pedal-log.txt")),
      devices_(folder + QStringLiteral("devices")),
      library_("SCRIBO_HID_LIBRARY", QStringLiteral(SCRIBO_HID_STANDIN)),
      scriptEnv_("SCRIBO_HID_STANDIN_SCRIPT", script_),
      logEnv_("SCRIBO_HID_STANDIN_LOG", log_),
      devicesEnv_("SCRIBO_HID_DEVICES", devices_) {
    QFile file(script_);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the pedal script");
    QDir().mkpath(devices_);
}

void StandinPedal::append(const QByteArray& line) {
    {
        QFile file(script_);
        if (!file.open(QIODevice::Append)) qFatal("cannot append to the pedal script");
        file.write(line + '\n');
    }
    // A pedal plugged in again is a new device node, as the kernel makes one.
    if (line == "plug") {
        QFile node(devices_ + QStringLiteral("/hidraw%1").arg(++plugs_));
        if (!node.open(QIODevice::WriteOnly)) qFatal("cannot make the pedal's device node");
    }
}

int StandinPedal::opens() const {
    QFile file(log_);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return int(file.readAll().count("hid_open_path"));
}

LocalWebServer::LocalWebServer(const QString& folder, const QString& certificate) {
    // Port 0: the server takes a free port and names it in its first line.
    server_.setStandardErrorFile(QProcess::nullDevice());
    const char* script =
        "import functools, http.server, ssl, sys\n"
        "handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])\n"
        "server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)\n"
        "if len(sys.argv) > 2:\n"
        "    tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)\n"
        "    tls.load_cert_chain(sys.argv[2])\n"
        "    server.socket = tls.wrap_socket(server.socket, server_side=True)\n"
        "print('port', server.server_address[1], flush=True)\n"
        "server.serve_forever()\n";
    QStringList arguments{QStringLiteral("-c"), QString::fromLatin1(script), folder};
    if (!certificate.isEmpty()) arguments << certificate;
    server_.start(QStringLiteral("python3"), arguments);
    if (!server_.waitForStarted(5000)) return;
    const QRegularExpression portPattern(QStringLiteral("port (\\d+)"));
    QString output;
    waitUntil(
        [&] {
            output += QString::fromUtf8(server_.readAllStandardOutput());
            return portPattern.match(output).hasMatch();
        },
        10000);
    const QRegularExpressionMatch port = portPattern.match(output);
    if (port.hasMatch())
        base_ = QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(QLatin1String(certificate.isEmpty() ? "http" : "https"), port.captured(1));
}

LocalWebServer::~LocalWebServer() {
    server_.kill();
    server_.waitForFinished(5000);
}

QString runTool(const QString& program, const QStringList& arguments, int timeoutMs,
                int* exitCode) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(timeoutMs)) {
        tool.kill();
        tool.waitForFinished(1000);
        if (exitCode) *exitCode = -1;
        return {};
    }
    if (exitCode) *exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return QString::fromUtf8(tool.readAllStandardOutput());
}

bool xdotool(const QStringList& arguments) {
    int code = -1;
    runTool(QStringLiteral("xdotool"), arguments, 10000, &code);
    return code == 0;
}

QList<quint64> visibleTopLevelWindows(qint64 pid) {
    const QStringList visible =
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 QString::number(pid), QStringLiteral("--name"), QStringLiteral("")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // No window manager: top-level windows are the root window's own children.
    const QString tree =
        runTool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
    static const QRegularExpression child(QStringLiteral("^\\s+(0x[0-9a-f]+) "),
                                          QRegularExpression::MultilineOption);
    QList<quint64> windows;
    for (auto match = child.globalMatch(tree); match.hasNext();) {
        const quint64 id = match.next().captured(1).toULongLong(nullptr, 16);
        if (visible.contains(QString::number(id))) windows << id;
    }
    return windows;
}

void requestClose(quint64 window) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const auto atom = [connection](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, quint16(qstrlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return value;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window);
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, xcb_window_t(window), XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    xcb_disconnect(connection);
}

bool waitUntil(const std::function<bool()>& predicate, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (predicate()) return true;
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    return predicate();
}

bool quitScribo() {
    return QDBusConnection::sessionBus()
               .call(QDBusMessage::createMethodCall(QStringLiteral("org.mpris.MediaPlayer2.scribo"),
                                                    QStringLiteral("/org/mpris/MediaPlayer2"),
                                                    QStringLiteral("org.mpris.MediaPlayer2"),
                                                    QStringLiteral("Quit")))
               .type() == QDBusMessage::ReplyMessage;
}

QString playerctl(const QStringList& arguments, int* exitCode) {
    return runTool(QStringLiteral("playerctl"),
                   QStringList{QStringLiteral("-p"), QStringLiteral("scribo")} + arguments, 10000,
                   exitCode)
        .trimmed();
}

QString playerStatus() {
    return playerctl({QStringLiteral("status")});
}

double playerPosition() {
    bool ok = false;
    const double value = playerctl({QStringLiteral("position")}).toDouble(&ok);
    return ok ? value : -1;
}

int command(const ScriboProcess& scribo, const QString& action, QString* error) {
    QProcess client;
    client.start(scribo.binary(), {QStringLiteral("--cmd"), action});
    if (!client.waitForFinished(30000)) return -1;
    if (error) *error = QString::fromUtf8(client.readAllStandardError());
    return client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
}

QString clipboardText() {
    return runTool(QStringLiteral("xclip"), {QStringLiteral("-selection"),
                                             QStringLiteral("clipboard"), QStringLiteral("-o")});
}

bool copyToClipboard(const QString& text) {
    QProcess copy;
    copy.start(QStringLiteral("xclip"),
               {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    copy.write(text.toUtf8());
    copy.closeWriteChannel();
    copy.waitForFinished(5000);
    return waitUntil([&] { return clipboardText() == text; }, 5000);
}
