#include "pedal/repeat_steps.h"

double steppedSpeed(double speed, bool up, long double highLimit, double lowWrap) {
    const long double sum = static_cast<long double>(speed) + (up ? 0.1L : -0.1L);
    const double v = static_cast<double>(sum);
    if (up && v > highLimit) return 0.5;
    if (!up && v < 0.4L) return lowWrap;
    return v;
}

int steppedVolume(int volume, int step) {
    const int v = volume + step;
    if (step > 0 && v > 100) return 5;
    if (step < 0 && v < 5) return 100;
    return v;
}
