// What the window shows of the foot pedal: the status line of the Settings menu and the hidden
// diagnostics. The pedal's choices reach the controller through the session's settings.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "pedal/pedal_controller.h"
#include "session/session.h"

void MainWindow::connectPedal() {
    // The diagnostics stay hidden: they help whoever looks at the window's objects.
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("pedalDiagnosticsBox"));
    box->setVisible(false);
    auto* layout = new QVBoxLayout(box);
    auto label = [box, layout](const char* name) {
        auto* l = new QLabel(box);
        l->setObjectName(QLatin1String(name));
        layout->addWidget(l);
        return l;
    };
    PedalController* pedal = &session_.pedal();
    connect(pedal, &PedalController::statusChanged, pedalStatusAction_, &QAction::setText);
    connect(pedal, &PedalController::readResultShown, label("pedalReadResultLabel"),
            &QLabel::setText);
    connect(pedal, &PedalController::readBitsShown, label("pedalReadBitsLabel"), &QLabel::setText);
    connect(pedal, &PedalController::reportBitsShown, label("pedalReportBitsLabel"),
            &QLabel::setText);
    connect(pedal, &PedalController::pedalStateShown, label("pedalStateLabel"), &QLabel::setText);
    connect(pedal, &PedalController::actionShown, label("pedalActionLabel"), &QLabel::setText);
}
