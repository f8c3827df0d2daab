#include "app/keyboard_wiring.h"

#include <QTimeEdit>
#include <cstdio>

#include "app/main_form.h"
#include "app/portal_shortcuts.h"
#include "app/shortcut_routing.h"
#include "core/entry_gate.h"
#include "core/timing_trace.h"
#include "keyboard/hotkey_controller.h"
#include "keyboard/hotkey_dispatcher.h"
#include "keyboard/hotkey_help.h"
#include "keyboard/shortcut_actions.h"

ActionOutcome RunKeyCommand(TAMainForm& window, HotkeyDispatcher& dispatcher,
                            HotkeyCommand command) {
    if (!window.entryGate().isOpen()) return ActionOutcome::Busy;
    return window.guard([&] { dispatcher.dispatch(command); }) ? ActionOutcome::Done
                                                               : ActionOutcome::Failed;
}

void AttachKeyboardToWindow(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher,
                            TAMainForm& window) {
    TAMainForm* form = &window;
    HotkeyDispatcher* run = &dispatcher;
    QObject::connect(&hotkeys, &HotkeyController::commandRequested, &dispatcher,
                     [form, run](HotkeyCommand command) {
                         RunKeyCommand(*form, *run, command);
                         timing::mark("handled", int(command));
                     });
    QObject::connect(&hotkeys, &HotkeyController::keysHeldElsewhere, form,
                     [form] { form->showKeysHeldElsewhere(); });

    QObject::connect(&dispatcher, &HotkeyDispatcher::statusTextChanged, form,
                     [form](const QString& text) { form->volumeBar->setPosTextPrefix(text); });
    QObject::connect(&dispatcher, &HotkeyDispatcher::volumeBarTextsChanged, form,
                     [form](const QString& leading, const QString& trailing) {
                         form->volumeBar->setPosTextPrefix(leading);
                         form->volumeBar->setPosTextSuffix(trailing);
                     });
    QObject::connect(&dispatcher, &HotkeyDispatcher::positionTextColorChanged, form,
                     [form](const QColor& color) { form->positionBar->setFontColor(color); });
    QObject::connect(&dispatcher, &HotkeyDispatcher::repeatPositionShown, form,
                     [form](const QTime& time) { form->timePicker->setTime(time); });
    QObject::connect(&dispatcher, &HotkeyDispatcher::speedTextChanged, form,
                     [form](const QString& text) { form->showSpeedText(text); });
}

void AttachDesktopShortcuts(HotkeyService& keys, PortalShortcuts& portal,
                            HotkeyDispatcher& dispatcher, TAMainForm& window) {
    TAMainForm* form = &window;
    HotkeyDispatcher* run = &dispatcher;
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
    QObject::connect(&portal, &PortalShortcuts::activated, form, [form, run](const QString& id) {
        if (const ShortcutAction* action = findShortcutAction(id))
            RunKeyCommand(*form, *run, action->command);
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
