#include "app/outside_entry.h"

#include "app/main_form.h"
#include "app/mpris_service.h"

void AttachMprisToWindow(MprisService& mpris, MainWindow& window) {
    mpris.guard = [&window](const std::function<void()>& command) { return window.guard(command); };
    mpris.raiseWindow = [&window] {
        window.show();
        window.raise();
        window.activateWindow();
    };
    mpris.acceptsRequests = [&window] { return window.entryGate().isOpen(); };
    mpris.quitProgram = [&window] { window.quitFromOutside(); };
    mpris.openFile = [&window](const QString& path) { window.openFromOutside(path); };
    mpris.openWebAddress = [&window](const QString& address) { window.openFromOutside(address); };
}
