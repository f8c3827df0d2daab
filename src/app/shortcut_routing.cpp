#include "app/shortcut_routing.h"

#include <QGuiApplication>

#include "core/profile_file.h"
#include "keyboard/x11_connection.h"

namespace {
// Claims nothing: the desktop's portal holds the keys.
class NoGrabHotkeyService : public HotkeyService {
public:
    using HotkeyService::HotkeyService;
    bool isAvailable() const override { return false; }
    GrabResult grab(int, HotkeyModifier, quint8) override { return GrabResult::Unavailable; }
    void release(int) override {}
    GrabResult result(int) const override { return GrabResult::Unavailable; }
};
}  // namespace

DesktopSession CurrentDesktopSession() {
    return {QGuiApplication::platformName(), qEnvironmentVariable("XDG_SESSION_TYPE"),
            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"), x11Connection() != nullptr};
}

ShortcutChoice ReadShortcutChoice(const QString& settingsPath) {
    if (settingsPath.isEmpty()) return ShortcutChoice::Auto;
    return parseShortcutChoice(
        ProfileFile(settingsPath).readString(kShortcutsSection, kShortcutsKey, QString()));
}

RoutedHotkeyService::RoutedHotkeyService(std::function<ShortcutRoute()> decide, QObject* parent)
    : HotkeyService(parent), decide_(std::move(decide)) {}

RoutedHotkeyService::~RoutedHotkeyService() = default;

ShortcutRoute RoutedHotkeyService::settle() {
    if (inner_) return route_;
    route_ = decide_();
    if (route_ == ShortcutRoute::KeyGrabs)
        inner_ = createHotkeyService();
    else
        inner_ = std::make_unique<NoGrabHotkeyService>();
    connect(inner_.get(), &HotkeyService::activated, this, &HotkeyService::activated);
    connect(inner_.get(), &HotkeyService::grabsRenewed, this, &HotkeyService::grabsRenewed);
    connect(inner_.get(), &HotkeyService::unavailable, this, &HotkeyService::unavailable);
    return route_;
}

GrabResult RoutedHotkeyService::grab(int id, HotkeyModifier modifier, quint8 virtualKey) {
    settle();
    return inner_->grab(id, modifier, virtualKey);
}

void RoutedHotkeyService::release(int id) {
    if (inner_) inner_->release(id);
}

GrabResult RoutedHotkeyService::result(int id) const {
    return inner_ ? inner_->result(id) : GrabResult::NoSuchKey;
}

RoutedKeystrokeOutput::RoutedKeystrokeOutput(RoutedHotkeyService& route, QObject* parent)
    : KeystrokeOutput(parent), route_(route), inner_(createKeystrokeOutput()) {
    connect(inner_.get(), &KeystrokeOutput::pasted, this, &KeystrokeOutput::pasted);
    connect(inner_.get(), &KeystrokeOutput::pasteAbandoned, this, &KeystrokeOutput::pasteAbandoned);
}

bool RoutedKeystrokeOutput::isAvailable() const {
    return route_.settle() == ShortcutRoute::KeyGrabs && inner_->isAvailable();
}

void RoutedKeystrokeOutput::pasteWhenKeysReleased() {
    inner_->pasteWhenKeysReleased();
}
