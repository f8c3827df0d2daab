#include "app/outside_entry.h"

#include "app/main_form.h"
#include "app/mpris_service.h"

void AttachMprisToWindow(MprisService& mpris, TAMainForm& window) {
    mpris.guard = [&window](const std::function<void()>& command) { return window.guard(command); };
    mpris.raiseWindow = [&window] {
        window.show();
        window.raise();
        window.activateWindow();
    };
    mpris.quitProgram = [&window] { window.ToolBarMPCotrol05ExitClick(); };
    mpris.openFile = [&window](const QString& path) { window.DropFiles({path}); };
}
