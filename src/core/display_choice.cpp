#include "core/display_choice.h"

#include <QStringList>

namespace {
QString environmentText(const char* name) {
    return qEnvironmentVariable(name);
}

DisplayTarget waylandTarget(const DisplayEnvironment& e) {
    // As libwayland-client finds its socket.
    const QString name =
        e.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : e.waylandDisplay;
    if (name.startsWith(QLatin1Char('/'))) return {DisplayTarget::Wayland, name};
    if (e.runtimeFolder.isEmpty()) return {DisplayTarget::Wayland, QString()};
    return {DisplayTarget::Wayland, e.runtimeFolder + QLatin1Char('/') + name};
}

DisplayTarget targetOf(const QString& platform, const DisplayEnvironment& e) {
    // "name:option=value" carries options for the plugin.
    const QString name = platform.section(QLatin1Char(':'), 0, 0).trimmed();
    if (name == QLatin1String("xcb"))
        return {DisplayTarget::X11, e.displayArgument.isEmpty() ? e.display : e.displayArgument};
    if (name.startsWith(QLatin1String("wayland")) && !e.waylandSocket) return waylandTarget(e);
    return {DisplayTarget::Other, QString()};
}
}  // namespace

DisplayEnvironment currentDisplayEnvironment(int argc, char** argv) {
    DisplayEnvironment e;
    for (int i = 1; i + 1 < argc; ++i) {
        QByteArray argument(argv[i]);
        if (argument.startsWith("--")) argument.remove(0, 1);
        if (argument == "-platform")
            e.platformArgument = QString::fromLocal8Bit(argv[++i]);
        else if (argument == "-display")
            e.displayArgument = QString::fromLocal8Bit(argv[++i]);
    }
    e.qpaPlatform = environmentText("QT_QPA_PLATFORM");
    e.display = environmentText("DISPLAY");
    e.waylandDisplay = environmentText("WAYLAND_DISPLAY");
    e.waylandSocket = !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET");
    e.sessionType = environmentText("XDG_SESSION_TYPE");
    e.runtimeFolder = environmentText("XDG_RUNTIME_DIR");
    return e;
}

QList<DisplayTarget> displayTargets(const DisplayEnvironment& e) {
    // Qt 6.4's choice: the command line, else QT_QPA_PLATFORM, else X11 where DISPLAY is set,
    // then Wayland where a Wayland session is seen, then the built-in default, X11. A list
    // separated by ";" is tried in order.
    QStringList platforms;
    if (!e.platformArgument.isEmpty()) {
        platforms = e.platformArgument.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    } else if (!e.qpaPlatform.isEmpty()) {
        platforms = e.qpaPlatform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    } else {
        if (!e.display.isEmpty()) platforms << QStringLiteral("xcb");
        if (!e.waylandDisplay.isEmpty() || e.sessionType == QLatin1String("wayland"))
            platforms << QStringLiteral("wayland");
        if (!platforms.contains(QLatin1String("xcb"))) platforms << QStringLiteral("xcb");
    }
    QList<DisplayTarget> targets;
    for (const QString& platform : platforms) {
        const DisplayTarget target = targetOf(platform, e);
        if (!targets.contains(target)) targets << target;
    }
    return targets;
}

QString unreachableDisplayReason(const QList<DisplayTarget>& targets, const DisplayProbe& probe) {
    QStringList reasons;
    for (const DisplayTarget& target : targets) {
        if (target.kind == DisplayTarget::Other) return QString();
        if (!target.address.isEmpty() && probe(target)) return QString();
        if (target.kind == DisplayTarget::X11)
            reasons << (target.address.isEmpty()
                            ? QStringLiteral("DISPLAY is not set")
                            : QStringLiteral("the X display \"%1\" cannot be reached")
                                  .arg(target.address));
        else
            reasons << (target.address.isEmpty()
                            ? QStringLiteral("XDG_RUNTIME_DIR is not set for Wayland")
                            : QStringLiteral("the Wayland display \"%1\" cannot be reached")
                                  .arg(target.address));
    }
    return reasons.join(QStringLiteral("; "));
}
