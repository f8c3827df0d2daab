#include "fakes/transport_setup.h"

#include "fakes/window_fixture.h"

namespace transportsetup {

const QByteArray kSettings =
    "[FormPosition]\nTop=120\nLeft=300\n[Play]\nAutoBackSpace=7\nSpeed=2\nRepeatTime=2\n"
    "[Pedal]\nFWDPitch=1\nREWPitch=1\n";

void startWithoutMedia(SessionFixture& f) {
    f.writeSettings(kSettings);
    if (!f.start()) qFatal("the session refused to start");
}

QString startWithMedia(SessionFixture& f, const QString& name, double duration,
                       bool rateAvailable) {
    const QString media = f.addMediaFile(name, duration, rateAvailable);
    startWithoutMedia(f);
    f.openMedia(media);
    return media;
}

QString startWavRestored(SessionFixture& f, double savedPosition) {
    const QString media = f.addMediaFile(QStringLiteral("talk.wav"), 600);
    f.writeSettings(kSettings + "[General]\nFile=" + media.toUtf8() +
                    "\n[Record]\nPosition=" + QByteArray::number(savedPosition) + "\n");
    if (!f.start()) qFatal("the session refused to start");
    f.clock.advance(1000);
    f.transport().finishLengthProbe();
    return media;
}

}  // namespace transportsetup
