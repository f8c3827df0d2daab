// What the window shows of the foot pedal, and the pedal choices it forwards to PedalController.
// The assignment and mode groups reach the controller through the settings table.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "pedal/pedal_controller.h"

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
    pedal_->setEntryGate(&gate_);
    pedal_->setTickRunner([this](const std::function<void()>& tick) { guard(tick); });
    connect(pedal_, &PedalController::statusChanged, pedalStatusAction_, &QAction::setText);
    connect(pedal_, &PedalController::messageRequested, this,
            [this](const QString& text) { dialogs_.showMessage(text); });
    connect(pedal_, &PedalController::positionTextColorChanged, positionBar_,
            &ProgressBar::setFontColor);
    connect(pedal_, &PedalController::readResultShown, label("pedalReadResultLabel"),
            &QLabel::setText);
    connect(pedal_, &PedalController::readBitsShown, label("pedalReadBitsLabel"), &QLabel::setText);
    connect(pedal_, &PedalController::reportBitsShown, label("pedalReportBitsLabel"),
            &QLabel::setText);
    connect(pedal_, &PedalController::pedalStateShown, label("pedalStateLabel"), &QLabel::setText);
    connect(pedal_, &PedalController::actionShown, label("pedalActionLabel"), &QLabel::setText);

    // The settings table writes the item; the controller only needs to know.
    pedal_->setChordsEnabled(!twoPedalsKeepSpeedAndVolumeAction_->isChecked());
    connect(twoPedalsKeepSpeedAndVolumeAction_, &QAction::toggled, pedal_,
            [this](bool checked) { pedal_->setChordsEnabled(!checked); });
}
