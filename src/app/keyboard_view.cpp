// The window's side of the system-wide keys: which settings turn keys off, the grabs at start-up
// and shutdown, and the keys that stay with another program.

#include <QAction>
#include <QLabel>
#include <QSet>

#include "app/main_form.h"
#include "core/settings_keys.h"
#include "keyboard/hotkey_controller.h"
#include "transport/clock.h"

namespace {
// The checked "Menu" settings that suppress combinations.
QSet<QString> checkedSuppressions(const std::vector<SettingRow>& rows) {
    QSet<QString> checked;
    for (const SettingRow& row : rows)
        if (row.reRegistersHotkeys && row.toggle && row.toggle->isChecked()) checked << row.key;
    return checked;
}
}  // namespace

void MainWindow::registerHotkeys() {
    if (!hotkeys_) return;
    hotkeys_->registerAll(checkedSuppressions(settings_));
    showKeysHeldElsewhere();
}

void MainWindow::unregisterHotkeys() {
    if (hotkeys_) hotkeys_->releaseAll();
}

void MainWindow::reregisterHotkeys() {
    // Keys pressed while every grab is let go must not run in the middle of this handler.
    const EntryGate::Wait shut(gate_);
    if (hotkeys_) {
        hotkeys_->reregister(checkedSuppressions(settings_));
        showKeysHeldElsewhere();
    } else
        clock_.waitProcessingEvents(HotkeyController::kReregisterPauseMs);
}

void MainWindow::showKeysHeldElsewhere() {
    if (!heldKeysLabel_ || !hotkeys_) return;
    const QStringList combinations = hotkeys_->heldElsewhere();
    heldKeysLabel_->setVisible(!combinations.isEmpty());
    if (combinations.isEmpty()) return;
    heldKeysLabel_->setText(QStringLiteral("ほかのプログラムが使っているため効かないキー： ") +
                            combinations.join(QStringLiteral("、")));
}

void MainWindow::showKeysUnavailable(const QString& reason) {
    if (!keysUnavailableLabel_) return;
    keysUnavailableLabel_->setText(
        QStringLiteral("このデスクトップではシステム全体のキーが使えません（%1）。"
                       "デスクトップのキーボード設定で、ショートカットに「scribo --cmd 動作名」を"
                       "割り当ててください（動作名の一覧：scribo --cmd list）。")
            .arg(reason));
    keysUnavailableLabel_->show();
}
