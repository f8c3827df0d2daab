#include "fakes/form_fixture.h"

#include <QFile>
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

TAMainForm& FormFixture::create() {
    form_ = std::make_unique<TAMainForm>(FormServices{&player, &clock, &dialogs, folder(),
                                                      &pedalLibrary, &keyState, folder(),
                                                      &clipboard, &hotkeys, &browser});
    return *form_;
}

bool FormFixture::start() {
    if (!form_) create();
    return form_->FormShow();
}

bool FormFixture::closeForm() {
    return form_->close();
}

QTimer* transportTimer(TAMainForm& form, const char* name) {
    auto* timer = form.transport().findChild<QTimer*>(QLatin1String(name));
    if (!timer) qFatal("no transport timer %s", name);
    return timer;
}

void FormFixture::openMedia(const QString& path) {
    form_->DropFiles({path});
    clock.advance(1000);
    form_->transport().finishLengthProbe();
}
