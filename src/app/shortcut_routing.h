#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "keyboard/hotkey_service.h"
#include "keyboard/keystroke_output.h"
#include "keyboard/shortcut_route.h"

// The desktop as this process sees it.
DesktopSession CurrentDesktopSession();
// The choice the settings file makes ([Scribo] Shortcuts); auto for a missing file or key.
ShortcutChoice ReadShortcutChoice(const QString& settingsPath);

// The hotkey service of the route, settled when the keys are first claimed: by then start-up
// has read the settings file, whose own choice counts. On the X11 route it is the X server's
// grabs (or, without an X server, the service that says keys are unavailable); on the portal
// route it claims nothing and says nothing: the portal's keys come through the window's wiring.
class RoutedHotkeyService : public HotkeyService {
    Q_OBJECT
public:
    explicit RoutedHotkeyService(std::function<ShortcutRoute()> decide, QObject* parent = nullptr);
    ~RoutedHotkeyService() override;

    ShortcutRoute settle();
    bool isSettled() const { return inner_ != nullptr; }

    bool isAvailable() const override { return inner_ && inner_->isAvailable(); }
    GrabResult grab(int id, HotkeyModifier modifier, quint8 virtualKey) override;
    void release(int id) override;
    GrabResult result(int id) const override;

private:
    std::function<ShortcutRoute()> decide_;
    ShortcutRoute route_ = ShortcutRoute::KeyGrabs;
    std::unique_ptr<HotkeyService> inner_;
};

// Keystrokes only where grabs are the route: on a Wayland desktop XTest reaches X programs
// alone, so the time code is better left on the clipboard for the typist.
class RoutedKeystrokeOutput : public KeystrokeOutput {
    Q_OBJECT
public:
    RoutedKeystrokeOutput(RoutedHotkeyService& route, QObject* parent = nullptr);

    bool isAvailable() const override;
    void pasteWhenKeysReleased() override;

private:
    RoutedHotkeyService& route_;
    std::unique_ptr<KeystrokeOutput> inner_;
};
