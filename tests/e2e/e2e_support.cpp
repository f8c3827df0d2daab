#include "e2e/e2e_support.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

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
    qputenv(name, value.toLocal8Bit());
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
      library_("SCRIBO_HID_LIBRARY", QStringLiteral(SCRIBO_HID_STANDIN)),
      scriptEnv_("SCRIBO_HID_STANDIN_SCRIPT", script_),
      logEnv_("SCRIBO_HID_STANDIN_LOG", log_) {
    QFile file(script_);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the pedal script");
}

void StandinPedal::append(const QByteArray& line) {
    QFile file(script_);
    if (!file.open(QIODevice::Append)) qFatal("cannot append to the pedal script");
    file.write(line + '\n');
}

int StandinPedal::opens() const {
    QFile file(log_);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return int(file.readAll().count("hid_open_path"));
}

LocalWebServer::LocalWebServer(const QString& folder) {
    // Port 0: the server takes a free port and names it in its first line.
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("python3"),
                  {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                   QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                   QStringLiteral("--directory"), folder, QStringLiteral("0")});
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
    if (port.hasMatch()) base_ = QStringLiteral("http://127.0.0.1:%1/").arg(port.captured(1));
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
