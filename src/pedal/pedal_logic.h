#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

// What one pedal report does, without the player, timers or widgets: the current switch state
// and one report in, the new state and the effects to carry out, in order, out.

enum class PedalAction { Play = 1, Rewind = 2, FastForward = 3 };
enum class PedalMode { Normal, Switch };

// The switch of switch mode: off (on false), on, or turning off (on and releaseResets).
struct PedalSwitch {
    bool on = false;
    bool pressHandled = false;   // the current press has already been taken
    bool releaseResets = false;  // the next release turns the switch off
    bool operator==(const PedalSwitch&) const = default;
};

struct PedalSettings {
    PedalMode mode = PedalMode::Normal;
    PedalAction left = PedalAction::Rewind;
    PedalAction centre = PedalAction::Play;
    PedalAction right = PedalAction::FastForward;
    bool chordsEnabled = true;  // two pedals together step the speed or the volume
};

// What the logic reads of the rest of the program when the report arrives.
struct PedalContext {
    PedalSwitch switchState;
    bool playToggled = false;  // playback was started by the play/pause toggle
    bool playing = false;
    double setSpeed = 1.0;  // the chosen speed
    int heldBits = 0;       // the pedal byte of the last report handled: what is held down
};

enum class PedalEffectKind {
    ReleaseDevice,     // the pedal is gone: release it
    Pause,             // pause the player
    RewindAfterPause,  // read the position and move back by the rewind seconds (pedalRewindTarget)
    Play,              // chosen speed and current speed := value, rate := value, play
    RefreshPlayState,  // the play-state refresh, which also ends a continuous skip
    Wait,              // wait value milliseconds while processing events
    StopSkips,         // stop continuous rewind and fast-forward
    StartRewindSkip,   // continuous rewind, position text blue
    StartForwardSkip,  // continuous fast-forward, position text maroon
    StartSpeedRepeat,
    StopSpeedRepeat,
    StartVolumeRepeat,
    StopVolumeRepeat,
};

struct PedalEffect {
    PedalEffectKind kind;
    double value = 0;
    bool operator==(const PedalEffect&) const = default;
};

struct PedalOutcome {
    PedalSwitch switchState;
    bool playToggled = false;
    QList<PedalEffect> effects;
    std::optional<int> bits;  // the pedal byte to show; none when the report was not read
    int action = 0;           // the action taken (PedalAction as a number), 0 for none
};

// One poll's result: result is what reading answered, bits byte 1 of the report. Nothing new
// changes nothing; a vanished pedal is released, after a release of whatever it had held down
// (nobody can lift a pedal that is gone); any other result but Ok counts as all pedals up. The
// caller stores the new state before it carries out the effects, so that a poll that runs inside
// one of the effects' waits sees it.
PedalOutcome handlePedalReport(const PedalSettings& settings, const PedalContext& context,
                               int result, int bits);

// Where lifting the pedal rewinds to: position - rewindSeconds when that lies beyond the first
// second, otherwise nowhere (the position stays).
std::optional<double> pedalRewindTarget(double position, double rewindSeconds);
// The speed a pedal starts playback at: a chosen speed below 0.5 plays at 1.0.
double pedalPlaySpeed(double setSpeed);
// The hidden diagnostics text for the pedal byte: "Up", "Down Left", ...; empty for the others.
QString pedalStateText(int bits);
