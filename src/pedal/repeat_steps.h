#pragma once

#include "transport/playback_steps.h"
#include "transport/transport_tables.h"

// One tick of the left + centre repeat: the speed up by 0.1, or down while a modifier key is
// held, with the same wraps as the keys' speed steps.
inline double pedalSpeedRepeatStep(double setSpeed, bool modifierHeld) {
    return steppedSpeed(setSpeed, modifierHeld ? SpeedStep::Down : SpeedStep::Up);
}
// One tick of the centre + right repeat: the volume up by 5, or down while a modifier key is held.
inline int pedalVolumeRepeatStep(int keyVolume, bool modifierHeld) {
    return NextKeyVolume(keyVolume, modifierHeld ? -5 : 5);
}
