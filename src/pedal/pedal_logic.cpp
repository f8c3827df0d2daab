#include "pedal/pedal_logic.h"

#include "pedal/pedal_library.h"

namespace {
constexpr int kLeft = 1, kCentre = 2, kRight = 4;
constexpr int kLeftCentre = 3, kLeftRight = 5, kCentreRight = 6, kAll = 7;
constexpr int kRewindSettleMs = 100;

bool isPress(int bits) {
    return bits >= 1 && bits <= kAll;
}

class Report {
public:
    Report(const PedalSettings& settings, const PedalContext& context, int bits)
        : settings_(settings), context_(context), bits_(bits) {
        out_.switchState = context.switchState;
        out_.playToggled = context.playToggled;
        out_.bits = bits;
    }

    PedalOutcome handle(bool switchStage) {
        if (switchStage && switchStageEnds()) {
            stopRepeatsOnRelease();
            return out_;
        }
        if (!settings_.chordsEnabled)
            stopRepeatsOnRelease();  // one started before the chords were switched off
        else if (chordStageEnds())
            return out_;
        commonTail();
        return out_;
    }

private:
    void add(PedalEffectKind kind, double value = 0) { out_.effects.append({kind, value}); }

    void pauseWithRewind() {
        add(PedalEffectKind::Pause);
        add(PedalEffectKind::RewindAfterPause);
        add(PedalEffectKind::Pause);
        add(PedalEffectKind::RefreshPlayState);
    }

    // Lifting the pedals ends both repeats in either mode, also where the chord stage does not
    // see the release.
    void stopRepeatsOnRelease() {
        if (bits_ != 0) return;
        add(PedalEffectKind::StopSpeedRepeat);
        add(PedalEffectKind::StopVolumeRepeat);
    }

    // True when the report ends here.
    bool switchStageEnds() {
        PedalSwitch& s = out_.switchState;
        if (!s.on) {
            if (bits_ == 0) {
                s.pressHandled = true;
                s.releaseResets = false;
            } else if (isPress(bits_) && out_.playToggled) {
                // Playback started from the keyboard: the first press stops it, the switch stays
                // off.
                pauseWithRewind();
                s = {};
                out_.playToggled = false;
                return true;
            } else if (isPress(bits_) && !(bits_ == kLeftRight && settings_.chordsEnabled)) {
                // Left + right only stops the skips and repeats; turning the switch on for it
                // would leave the switch taken with nothing to release it.
                s = {true, true, false};
            }
            return false;
        }
        if (bits_ == 0) {
            if (!s.pressHandled && s.releaseResets) s = {};
            return true;
        }
        if (!isPress(bits_)) return false;
        add(PedalEffectKind::StopSkips);
        if (s.pressHandled) return true;
        pauseWithRewind();
        s.pressHandled = false;
        s.releaseResets = true;
        return true;
    }

    bool chordStageEnds() {
        switch (bits_) {
            case 0:
                add(PedalEffectKind::RefreshPlayState);
                add(PedalEffectKind::StopSpeedRepeat);
                add(PedalEffectKind::StopVolumeRepeat);
                return false;
            case kLeft:
            case kCentre:
            case kRight:
                add(PedalEffectKind::StopVolumeRepeat);
                add(PedalEffectKind::StopSpeedRepeat);
                return false;
            case kLeftCentre:
                add(PedalEffectKind::StopVolumeRepeat);
                add(PedalEffectKind::StartSpeedRepeat);
                return false;
            case kCentreRight:
                add(PedalEffectKind::StartVolumeRepeat);
                add(PedalEffectKind::StopSpeedRepeat);
                return false;
            case kLeftRight:
            case kAll:
                add(PedalEffectKind::StopSkips);
                add(PedalEffectKind::StopVolumeRepeat);
                add(PedalEffectKind::StopSpeedRepeat);
                return bits_ == kLeftRight;
            default:
                return false;
        }
    }

    void commonTail() {
        out_.switchState.pressHandled = false;
        out_.playToggled = false;
        if (bits_ == 0) {
            if (context_.playing) {
                add(PedalEffectKind::Pause);
                add(PedalEffectKind::RefreshPlayState);
                add(PedalEffectKind::RewindAfterPause);
            }
            add(PedalEffectKind::StopSkips);
            add(PedalEffectKind::Pause);
            return;
        }
        const PedalAction action = bits_ == kLeft     ? settings_.left
                                   : bits_ == kCentre ? settings_.centre
                                   : bits_ == kRight  ? settings_.right
                                                      : PedalAction::Play;
        out_.action = static_cast<int>(action);
        if (action == PedalAction::Play) {
            if (context_.playing) return;
            add(PedalEffectKind::Play, pedalPlaySpeed(context_.setSpeed));
            add(PedalEffectKind::RefreshPlayState);
            return;
        }
        if (context_.playing) add(PedalEffectKind::Pause);
        add(PedalEffectKind::Wait, kRewindSettleMs);
        add(PedalEffectKind::RefreshPlayState);
        add(action == PedalAction::Rewind ? PedalEffectKind::StartRewindSkip
                                          : PedalEffectKind::StartForwardSkip);
    }

    const PedalSettings& settings_;
    const PedalContext& context_;
    const int bits_;
    PedalOutcome out_;
};
}  // namespace

PedalOutcome handlePedalReport(const PedalSettings& settings, const PedalContext& context,
                               int result, int bits) {
    if (result == PedalResults::DeviceGone) {
        PedalOutcome out;
        if (context.heldBits != 0) {
            out = Report(settings, context, 0).handle(settings.mode == PedalMode::Switch);
        } else {
            out.switchState = context.switchState;
            out.playToggled = context.playToggled;
        }
        out.effects.append({PedalEffectKind::ReleaseDevice});
        return out;
    }
    if (result == PedalResults::NothingNew) {
        PedalOutcome out;
        out.switchState = context.switchState;
        out.playToggled = context.playToggled;
        out.bits = bits;
        return out;
    }
    // A failed read leaves the zero-filled report: all pedals up.
    const bool ok = result == PedalResults::Ok;
    return Report(settings, context, ok ? bits : 0)
        .handle(ok && settings.mode == PedalMode::Switch);
}

std::optional<double> pedalRewindTarget(double position, double rewindSeconds) {
    const double target = position - rewindSeconds;
    if (target > 1.0) return target;
    return std::nullopt;
}

double pedalPlaySpeed(double setSpeed) {
    return setSpeed < 0.5 ? 1.0 : setSpeed;
}

QString pedalStateText(int bits) {
    switch (bits) {
        case 0:
            return QStringLiteral("Up");
        case kLeft:
            return QStringLiteral("Down Left");
        case kCentre:
            return QStringLiteral("Down Center");
        case kRight:
            return QStringLiteral("Down Right");
        default:
            return QString();
    }
}
