#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <functional>

#include "keyboard/hotkey_table.h"
#include "session/request_outcome.h"

// Scribo's own interface on the session bus, beside MPRIS under the same bus name: one method
// per key action (the names in keyboard/shortcut_actions.h), without arguments or results. A
// method answers once the action has run; when it could not run it answers with an error.
namespace actions {
inline constexpr auto kObjectPath = "/org/scribo/Scribo";
inline constexpr auto kInterface = "org.scribo.Scribo1";
// Scribo is closing, or a wait of another command is under way: nothing was done.
inline constexpr auto kBusyError = "org.scribo.Scribo1.Error.Busy";
// The action ended with an error, shown in Scribo's error box.
inline constexpr auto kFailedError = "org.scribo.Scribo1.Error.Failed";
}  // namespace actions

class ActionService : public QDBusVirtualObject {
    Q_OBJECT
public:
    // Runs a command as a pressed key would and says how it went.
    using Runner = std::function<RequestOutcome(HotkeyCommand)>;

    explicit ActionService(Runner run, QObject* parent = nullptr);
    ~ActionService() override;

    bool publish(const QDBusConnection& bus);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    Runner run_;
    QDBusConnection bus_;
    bool published_ = false;
};
