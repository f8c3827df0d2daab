#pragma once

#include <QString>
#include <optional>

// The speed steps of the keys. Up and Down (Alt / Shift + Scroll Lock) run between 0.4 and 2.0
// and show the new speed; WideUp and WideDown (Ctrl / Alt + F24) run between 0.4 and 3.0 and
// show nothing.
enum class SpeedStep { Up, Down, WideUp, WideDown };

// The next speed. The step of 0.1 is added in extended precision and rounded to double; the wrap
// limits are compared exactly, without rounding to tenths, so the sums' binary error decides:
// ten steps up from 1.0 reach 2.0, the next wraps to 0.5, and 2.0 itself steps to 0.5.
double steppedSpeed(double setSpeed, SpeedStep step);

// The text the speed display shows after the step, or nothing for the silent steps.
std::optional<QString> speedStepText(double newSpeed, SpeedStep step);
