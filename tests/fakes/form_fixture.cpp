#include "fakes/form_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

#include "fakes/test_files.h"
#include "transport/transport_controller.h"

FormFixture::FormFixture() = default;
FormFixture::~FormFixture() = default;

QString FormFixture::folder() const {
    return dir.path() + QLatin1Char('/');
}

QString FormFixture::writeSettings(const QByteArray& lines, const QString& name) {
    testfiles::writeCrLf(folder() + name, lines);
    return folder() + name;
}

QByteArray FormFixture::settingsBytes(const QString& name) const {
    return testfiles::readAll(folder() + name);
}

QString FormFixture::addMediaFile(const QString& name, double duration, bool rateAvailable) {
    const QString path = folder() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the media file");
    player.addMedia(path, duration, rateAvailable);
    return path;
}

MainWindow& FormFixture::create() {
    form_ = std::make_unique<MainWindow>(WindowServices{&player, &clock, &dialogs, folder(),
                                                        &pedalLibrary, &keyState, folder(),
                                                        &clipboard, &hotkeys, &browser});
    return *form_;
}

bool FormFixture::start() {
    if (!form_) create();
    if (!form_->startUp()) return false;
    form_->pedal().finishSetUp();  // the set-up timer's second, at once
    return true;
}

bool FormFixture::closeForm() {
    return form_->close();
}

QTimer* transportTimer(MainWindow& form, const char* name) {
    auto* timer = form.transport().findChild<QTimer*>(QLatin1String(name));
    if (!timer) qFatal("no transport timer %s", name);
    return timer;
}

void FormFixture::openMedia(const QString& path) {
    form_->dropFiles({path});
    clock.advance(1000);
    form_->transport().finishLengthProbe();
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
