#include "app/outside_entries.h"

#include <cstdio>

#include "app/main_window.h"
#include "app/mpris_service.h"
#include "app/portal_shortcuts.h"
#include "app/shortcut_routing.h"
#include "keyboard/hotkey_help.h"
#include "keyboard/shortcut_actions.h"
#include "session/session.h"

void AttachMprisToSession(MprisService& mpris, Session& session, MainWindow& window) {
    mpris.request = [&session](const std::function<void()>& command) {
        return session.request(command) == RequestOutcome::Done;
    };
    mpris.raiseWindow = [&window] {
        window.show();
        window.raise();
        window.activateWindow();
    };
    mpris.quitProgram = [&session] { session.requestQuit(); };
    mpris.openFile = [&session](const QString& path) { session.requestOpen(path); };
    mpris.openWebAddress = [&session](const QString& address) { session.requestOpen(address); };
}

void AttachDesktopShortcuts(HotkeyService& keys, PortalShortcuts& portal, Session& session,
                            MainWindow& window) {
    MainWindow* form = &window;
    const auto notice = [form](const QString& reason, bool onStandardError) {
        if (onStandardError)
            std::fprintf(stderr,
                         "Scribo: system-wide keys are unavailable: %s. Bind desktop shortcuts "
                         "to 'scribo --cmd ACTION' instead ('scribo --cmd list' shows the "
                         "actions).\n",
                         qPrintable(reason));
        form->showKeysUnavailable(reason);
    };
    // The X11 service has said it on standard error already.
    QObject::connect(&keys, &HotkeyService::unavailable, form,
                     [notice](const QString& reason) { notice(reason, false); });
    QObject::connect(&portal, &PortalShortcuts::unavailable, form,
                     [notice](const QString& reason) { notice(reason, true); });
    QObject::connect(&portal, &PortalShortcuts::activated, form, [&session](const QString& id) {
        if (const ShortcutAction* action = findShortcutAction(id))
            session.requestKey(action->command);
    });
}

void BindDesktopShortcuts(RoutedHotkeyService& route, PortalShortcuts& portal) {
    if (route.settle() != ShortcutRoute::Portal) return;
    QList<PortalShortcut> shortcuts;
    for (const ShortcutAction& action : shortcutActions()) {
        PortalShortcut shortcut{QLatin1String(action.name),
                                {{QStringLiteral("description"), describeCommand(action.command)}}};
        if (const QString trigger = preferredTrigger(action.command); !trigger.isEmpty())
            shortcut.properties.insert(QStringLiteral("preferred_trigger"), trigger);
        shortcuts << shortcut;
    }
    portal.start(shortcuts, QStringLiteral("scribo"));
}
