#pragma once

#include <functional>

class QWidget;

// Runs the action once, as soon as the window has painted itself for the first time and its
// pixels have gone to the display; work that can wait no longer keeps the window from showing.
void RunAfterFirstPaint(QWidget& window, std::function<void()> action);
