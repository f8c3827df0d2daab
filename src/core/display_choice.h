#pragma once

#include <QList>
#include <QString>
#include <functional>

// Which displays Qt will try to open, worked out before the application object is made: when
// none of them answers, Qt aborts with advice to reinstall, and the program would rather say in
// one line what is missing.

// What Qt reads to choose its platform: the command line's -platform and -display, and the
// environment.
struct DisplayEnvironment {
    QString platformArgument;    // -platform
    QString displayArgument;     // -display, for the X11 platform
    QString qpaPlatform;         // QT_QPA_PLATFORM
    QString display;             // DISPLAY
    QString waylandDisplay;      // WAYLAND_DISPLAY
    bool waylandSocket = false;  // WAYLAND_SOCKET: a connection handed over already
    QString sessionType;         // XDG_SESSION_TYPE
    QString runtimeFolder;       // XDG_RUNTIME_DIR
};

// Reads the environment and takes -platform and -display from the arguments (as Qt does, with
// one dash or two).
DisplayEnvironment currentDisplayEnvironment(int argc, char** argv);

struct DisplayTarget {
    enum Kind { X11, Wayland, Other };
    Kind kind = Other;
    // The X display's name or the Wayland socket's path; empty when there is none to try.
    QString address;
    bool operator==(const DisplayTarget&) const = default;
};

// The displays of the platforms Qt tries, in its order. A platform that needs no display
// (offscreen, vnc, ...) is Other.
QList<DisplayTarget> displayTargets(const DisplayEnvironment& environment);

// Empty when one of the targets can be opened (an Other always can); otherwise why none of
// them can, for the message. The probe tries to connect.
using DisplayProbe = std::function<bool(const DisplayTarget&)>;
QString unreachableDisplayReason(const QList<DisplayTarget>& targets, const DisplayProbe& probe);
