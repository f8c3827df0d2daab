#pragma once

// The step arithmetic of the two-pedal repeat (and of the keyboard's speed and volume steps).

// speed + 0.1 (up) or - 0.1, summed in extended precision and rounded to double. Going down, a
// result below 0.4 becomes lowWrap; going up, a result above highLimit becomes 0.5. The limits
// are extended constants compared exactly, so that ten steps up from 1.0 still give 2.0 and the
// eleventh 0.5, and one step up from 2.0 already gives 0.5.
double steppedSpeed(double speed, bool up, long double highLimit = 2.1L, double lowWrap = 2.0);

// volume + step; above 100 becomes 5, below 5 becomes 100.
int steppedVolume(int volume, int step);

// One tick of the left + centre repeat: up by 0.1, or down while a modifier key is held.
inline double pedalSpeedRepeatStep(double setSpeed, bool modifierHeld) {
    return steppedSpeed(setSpeed, !modifierHeld);
}
// One tick of the centre + right repeat: up by 5, or down while a modifier key is held.
inline int pedalVolumeRepeatStep(int keyVolume, bool modifierHeld) {
    return steppedVolume(keyVolume, modifierHeld ? -5 : 5);
}
