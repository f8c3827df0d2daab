#include "transport/transport_tables.h"

#include <array>
#include <cmath>

double AutoBackSecondsFor(int index) {
    static constexpr std::array<double, 18> kSeconds = {
        0.0, 0.6, 0.9, 1.2, 1.4, 1.8, 2.2, 2.5, 2.8, 3.2, 3.8, 4.3, 4.8, 5.8, 6.8, 7.8, 8.8, 9.8};
    return index >= 0 && index < static_cast<int>(kSeconds.size()) ? kSeconds[index] : 1.0;
}

int RepeatIntervalFor(int index) {
    static constexpr std::array<int, 7> kMs = {2000, 3000, 5000, 8000, 10000, 15000, 20000};
    return index >= 0 && index < static_cast<int>(kMs.size()) ? kMs[index] : 2000;
}

SpeedChoice SpeedFor(int index) {
    static constexpr std::array<double, 7> kSpeeds = {0.6, 0.8, 1.0, 1.2, 1.5, 1.8, 2.0};
    if (index < 0 || index >= static_cast<int>(kSpeeds.size()))
        return {1.0, QStringLiteral("1.0"), true};
    return {kSpeeds[index], FormatSpeed(kSpeeds[index]), index != 2};
}

std::optional<double> PitchFor(int index) {
    static constexpr std::array<double, 7> kSteps = {2, 5, 10, 30, 60, 300, 600};
    if (index < 0 || index >= static_cast<int>(kSteps.size())) return std::nullopt;
    return kSteps[index];
}

QString FormatSpeed(double speed) {
    if (!std::isfinite(speed)) return QStringLiteral("0.0");
    // Ten times a double is exact in long double, so ties are seen as ties.
    const long double tenths = std::fabs(static_cast<long double>(speed) * 10.0L);
    const auto rounded = static_cast<long long>(std::floor(tenths + 0.5L));
    const bool negative = speed < 0 && rounded != 0;
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(rounded / 10)
        .arg(rounded % 10);
}

int BarValueFromX(int x, int width, int max) {
    if (width <= 0) return 0;
    return static_cast<int>(std::trunc(static_cast<long double>(x) / width * max));
}

int NextKeyVolume(int volume, int step) {
    const int next = volume + step;
    if (step > 0 && next > 100) return 5;
    if (step < 0 && next < 5) return 100;
    return next;
}
