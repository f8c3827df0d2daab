#pragma once

#include <QByteArray>
#include <QString>

class SessionFixture;

// Set-up shared by the transport tests, with or without the window.
namespace transportsetup {

// Settings with the usual choices: rewind item 7 (2.5 s), speed item 2 (1.0), repeat item 2
// (5 s) and both skip steps at item 1 (5 s).
extern const QByteArray kSettings;

// Writes kSettings and starts the fixture without media.
void startWithoutMedia(SessionFixture& f);

// Writes kSettings, starts the fixture and opens a media file of the given length in the
// fixture's folder, as a drop would; returns the media's path. The player rests paused at 0.
QString startWithMedia(SessionFixture& f, const QString& name, double duration,
                       bool rateAvailable = true);

// A WAV file restored at start-up with a saved position, which puts the transport in WAV mode;
// the length probe is over. Returns the media's path.
QString startWavRestored(SessionFixture& f, double savedPosition);

}  // namespace transportsetup
