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

ActionOutcome RunKeyCommand(MainWindow& window, HotkeyDispatcher& dispatcher,
                            HotkeyCommand command) {
    if (!window.entryGate().isOpen()) return ActionOutcome::Busy;
    return window.guard([&] { dispatcher.dispatch(command); }) ? ActionOutcome::Done
                                                               : ActionOutcome::Failed;
}

void AttachKeyboardToWindow(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher,
                            MainWindow& window) {
    window.attachHotkeyDispatcher(hotkeys, dispatcher);
}

void MainWindow::attachHotkeyDispatcher(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher) {
    HotkeyDispatcher* run = &dispatcher;
    connect(&hotkeys, &HotkeyController::commandRequested, &dispatcher,
            [this, run](HotkeyCommand command) {
                RunKeyCommand(*this, *run, command);
                timing::mark("handled", int(command));
            });
    connect(&hotkeys, &HotkeyController::keysHeldElsewhere, this,
            [this] { showKeysHeldElsewhere(); });

    connect(&dispatcher, &HotkeyDispatcher::statusTextChanged, volumeBar_,
            &ProgressBar::setPosTextPrefix);
    connect(&dispatcher, &HotkeyDispatcher::volumeBarTextsChanged, this,
            [this](const QString& leading, const QString& trailing) {
                showVolumeBarText(leading, trailing);
            });
    connect(&dispatcher, &HotkeyDispatcher::positionTextColorChanged, positionBar_,
            &ProgressBar::setFontColor);
    connect(&dispatcher, &HotkeyDispatcher::repeatPositionShown, timePicker_, &QTimeEdit::setTime);
    connect(&dispatcher, &HotkeyDispatcher::speedTextChanged, this,
            [this](const QString& text) { showSpeedText(text); });
}

void AttachDesktopShortcuts(HotkeyService& keys, PortalShortcuts& portal,
                            HotkeyDispatcher& dispatcher, MainWindow& window) {
    MainWindow* form = &window;
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
