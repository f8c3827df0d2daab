#pragma once

#include <QByteArray>
#include <QString>

class WindowFixture;

// Set-up shared by the transport window tests.
namespace transportsetup {

// Settings with the usual choices: rewind item 7 (2.5 s), speed item 2 (1.0), repeat item 2
// (5 s) and both skip steps at item 1 (5 s).
extern const QByteArray kSettings;

// Writes kSettings, starts the window and opens a media file of the given length in the
// fixture's folder, as a drop would; returns the media's path. The player rests paused at 0.
QString startWithMedia(WindowFixture& f, const QString& name, double duration,
                       bool rateAvailable = true);

}  // namespace transportsetup
