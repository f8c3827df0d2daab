#include "app/setting_binders.h"

#include <QAction>
#include <QTimeEdit>

#include "controls/radio_group.h"
#include "session/session.h"
#include "session/settings_store.h"

namespace {
// Calls show(value) now and whenever the setting changes.
template <typename Show>
void follow(QObject* control, SettingsStore& settings, Setting setting, Show show) {
    show(settings.value(setting));
    QObject::connect(&settings, &SettingsStore::changed, control,
                     [setting, show](Setting changed, const QVariant& value) {
                         if (changed == setting) show(value);
                     });
}
}  // namespace

void BindToggle(QAction* action, Session& session, Setting setting) {
    SettingsStore& settings = session.settings();
    follow(action, settings, setting,
           [action](const QVariant& value) { action->setChecked(value.toBool()); });
    // A mark set from code is the value, as a group's item is.
    QObject::connect(action, &QAction::toggled, action,
                     [&settings, setting](bool checked) { settings.set(setting, checked); });
    QObject::connect(action, &QAction::triggered, action, [action, &session, setting] {
        // Qt has flipped the mark already; the session's toggle flips the value and writes it.
        action->setChecked(!action->isChecked());
        session.run([&] { session.toggle(setting); });
    });
}

void BindChoice(RadioGroup* group, Session& session, Setting setting) {
    Q_ASSERT(group->count() == RowOf(setting).items);
    follow(group, session.settings(), setting,
           [group](const QVariant& value) { group->setItemIndex(value.toInt()); });
    QObject::connect(group, &RadioGroup::clicked, group, [group, &session, setting] {
        if (group->itemIndex() == session.settings().item(setting)) return;
        session.run([&] { session.choose(setting, group->itemIndex()); });
    });
}

void BindTime(QTimeEdit* picker, Session& session, Setting setting) {
    follow(picker, session.settings(), setting,
           [picker](const QVariant& value) { picker->setTime(value.toTime()); });
    QObject::connect(picker, &QTimeEdit::timeChanged, picker,
                     [&session, setting](QTime time) { session.settings().set(setting, time); });
}
