#include "keyboard/hotkey_service.h"

#include <QGuiApplication>
#include <cstdio>

#include "keyboard/x11_connection.h"
#include "keyboard/x11_hotkey_service.h"

namespace {
class UnavailableHotkeyService : public HotkeyService {
public:
    using HotkeyService::HotkeyService;
    bool isAvailable() const override { return false; }
    GrabResult grab(int, HotkeyModifier, quint8) override {
        if (!reported_) {
            reported_ = true;
            const QString reason =
                QStringLiteral(
                    "system-wide keys are not available on the \"%1\" display; bind "
                    "desktop shortcuts to 'scribo --cmd ACTION' instead ('scribo --cmd list' "
                    "shows the actions)")
                    .arg(QGuiApplication::platformName());
            std::fprintf(stderr, "Scribo: %s\n", qPrintable(reason));
            Q_EMIT unavailable(reason);
        }
        return GrabResult::Unavailable;
    }
    void release(int) override {}
    GrabResult result(int) const override { return GrabResult::Unavailable; }

private:
    bool reported_ = false;
};
}  // namespace

std::unique_ptr<HotkeyService> createHotkeyService(QObject* parent) {
    if (xcb_connection_t* connection = x11Connection())
        return std::make_unique<X11HotkeyService>(connection, parent);
    return std::make_unique<UnavailableHotkeyService>(parent);
}
