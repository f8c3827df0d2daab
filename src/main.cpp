// Builds the real services and the main window, and runs the program.

#include <QApplication>
#include <clocale>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "transport/clock.h"
#include "transport/mpv_player.h"
#include "transport/player_view.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Scribo"));
    // libmpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");

    SteadyClock clock;
    WidgetDialogs dialogs(nullptr);
    MpvPlayer player;
    const FormServices services{&player, &clock, &dialogs,
                                QCoreApplication::applicationDirPath() + QLatin1Char('/')};
    TAMainForm form(services);
    dialogs.setOwner(&form);
    player.setVideoWindow(form.WindowsMediaPlayer1View->videoWindowId());

    if (!form.FormShow()) return form.exitCode();
    form.show();
    return app.exec();
}
