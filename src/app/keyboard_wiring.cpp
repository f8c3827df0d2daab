#include "app/keyboard_wiring.h"

#include <QTimeEdit>

#include "app/main_form.h"
#include "core/timing_trace.h"
#include "keyboard/hotkey_controller.h"
#include "keyboard/hotkey_dispatcher.h"

void AttachKeyboardToWindow(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher,
                            TAMainForm& window) {
    TAMainForm* form = &window;
    HotkeyDispatcher* run = &dispatcher;
    QObject::connect(&hotkeys, &HotkeyController::commandRequested, &dispatcher,
                     [form, run](HotkeyCommand command) {
                         form->guard([run, command] { run->dispatch(command); });
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
