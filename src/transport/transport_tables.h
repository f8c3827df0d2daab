#pragma once

#include <QString>
#include <optional>

// Seconds actually rewound for each item of the rewind group (more than the caption shows);
// 1.0 for no selection.
double AutoBackSecondsFor(int index);
// Repeat interval in ms of each item of the repeat group; 2000 for no selection.
int RepeatIntervalFor(int index);

// A row of the speed table. No selection plays at 1.0 but counts as a chosen speed.
struct SpeedChoice {
    double speed;
    QString text;
    bool active;  // the chosen speed, not 1.0, is in effect afterwards
};
SpeedChoice SpeedFor(int index);

// Skip step in seconds of the pitch groups; nothing for no selection (the step stays).
std::optional<double> PitchFor(int index);

// A speed with one decimal, rounded half away from zero on the exact binary value ("0.0").
QString FormatSpeed(double speed);

// Where on a bar of the given width a pointer at x lies, on the scale 0..max, truncated.
int BarValueFromX(int x, int width, int max);

// The keyboard and pedal volume counter after a step of +1 or -1: above 100 wraps to 5, below 5
// to 100.
int NextKeyVolume(int volume, int step);
