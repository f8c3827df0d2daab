#include "transport/playback_steps.h"

#include "transport/transport_tables.h"

namespace {
// long double is the x87 80-bit type here; these constants are the extended values, not the
// doubles nearest to 0.1, 0.4 and 2.1.
constexpr long double kStep = 0.1L;
constexpr long double kLowest = 0.4L;
constexpr long double kHighest = 2.1L;
constexpr long double kWideHighest = 3.0L;
}  // namespace

double steppedSpeed(double setSpeed, SpeedStep step) {
    const bool up = step == SpeedStep::Up || step == SpeedStep::WideUp;
    const long double sum = up ? static_cast<long double>(setSpeed) + kStep
                               : static_cast<long double>(setSpeed) - kStep;
    const double v = static_cast<double>(sum);
    switch (step) {
        case SpeedStep::Up:
            return v > kHighest ? 0.5 : v;
        case SpeedStep::WideUp:
            return v > kWideHighest ? 0.5 : v;
        case SpeedStep::Down:
            return v < kLowest ? 2.0 : v;
        case SpeedStep::WideDown:
            return v < kLowest ? 3.0 : v;
    }
    return v;
}

std::optional<QString> speedStepText(double newSpeed, SpeedStep step) {
    if (step == SpeedStep::WideUp || step == SpeedStep::WideDown) return std::nullopt;
    return FormatSpeed(newSpeed);
}
