#include "fakes/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

#include "fakes/test_files.h"
#include "transport/transport_controller.h"

SessionFixture::SessionFixture() = default;
SessionFixture::~SessionFixture() = default;

QString SessionFixture::folder() const {
    return dir.path() + QLatin1Char('/');
}

QString SessionFixture::writeSettings(const QByteArray& lines, const QString& name) {
    testfiles::writeCrLf(folder() + name, lines);
    return folder() + name;
}

QByteArray SessionFixture::settingsBytes(const QString& name) const {
    return testfiles::readAll(folder() + name);
}

QString SessionFixture::addMediaFile(const QString& name, double duration, bool rateAvailable) {
    const QString path = folder() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the media file");
    player.addMedia(path, duration, rateAvailable);
    return path;
}

Session& SessionFixture::session() {
    if (!session_) {
        session_ = std::make_unique<Session>(SessionServices{.player = &player,
                                                             .clock = &clock,
                                                             .dialogs = &dialogs,
                                                             .settingsFolder = folder(),
                                                             .pedalLibrary = &pedalLibrary,
                                                             .keyState = &keyState,
                                                             .programFolder = folder(),
                                                             .clipboard = &clipboard,
                                                             .hotkeys = &hotkeys,
                                                             .browser = &browser,
                                                             .keystrokes = &keystrokes});
        created();
    }
    return *session_;
}

bool SessionFixture::start() {
    if (!session().startUp()) return false;
    session().pedal().finishSetUp();  // the set-up timer's second, at once
    return true;
}

bool SessionFixture::close() {
    return session().close();
}

void SessionFixture::openMedia(const QString& path) {
    session().dropFiles({path});
    clock.advance(1000);
    transport().finishLengthProbe();
}

QTimer* transportTimer(SessionFixture& f, const char* name) {
    auto* timer = f.transport().findChild<QTimer*>(QLatin1String(name));
    if (!timer) qFatal("no transport timer %s", name);
    return timer;
}

WindowFixture::WindowFixture() = default;
WindowFixture::~WindowFixture() {
    window_.reset();
}

void WindowFixture::created() {
    window_ = std::make_unique<MainWindow>(*session_);
}

MainWindow& WindowFixture::create() {
    session();
    return *window_;
}

bool WindowFixture::start() {
    create();
    return SessionFixture::start();
}

bool WindowFixture::close() {
    return window_->close();
}

QAction* playEntryAction(QObject& window, int n) {
    return control<QAction>(window, qPrintable(QStringLiteral("playEntryAction%1").arg(n)));
}

QAction* registerEntryAction(QObject& window, int n) {
    return control<QAction>(window, qPrintable(QStringLiteral("registerEntryAction%1").arg(n)));
}

namespace {
void sendMouse(ProgressBar* bar, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               QPoint at) {
    QMouseEvent event(type, QPointF(at), QPointF(bar->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
}
}  // namespace

void pressBar(ProgressBar* bar, Qt::MouseButton button, int x, int y) {
    sendMouse(bar, QEvent::MouseButtonPress, button, button, {x, y});
}

void dragBar(ProgressBar* bar, int x, int y) {
    sendMouse(bar, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {x, y});
}

void releaseBar(ProgressBar* bar, Qt::MouseButton button, int x, int y) {
    sendMouse(bar, QEvent::MouseButtonRelease, button, Qt::NoButton, {x, y});
}

void clickBar(ProgressBar* bar) {
    const QPoint middle = bar->rect().center();
    pressBar(bar, Qt::LeftButton, middle.x(), middle.y());
    releaseBar(bar, Qt::LeftButton, middle.x(), middle.y());
}
