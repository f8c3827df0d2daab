#include "fakes/transport_setup.h"

#include "fakes/window_fixture.h"

namespace transportsetup {

const QByteArray kSettings =
    "[FormPosition]\nTop=120\nLeft=300\n[Play]\nAutoBackSpace=7\nSpeed=2\nRepeatTime=2\n"
    "[Pedal]\nFWDPitch=1\nREWPitch=1\n";

QString startWithMedia(WindowFixture& f, const QString& name, double duration, bool rateAvailable) {
    f.writeSettings(kSettings);
    const QString media = f.addMediaFile(name, duration, rateAvailable);
    if (!f.start()) qFatal("the window refused to start");
    f.openMedia(media);
    return media;
}

}  // namespace transportsetup
