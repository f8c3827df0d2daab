// What the window shows of the system-wide keys: the keys that stay with another program, and
// that no system-wide keys are to be had.

#include <QLabel>

#include "app/main_window.h"
#include "session/session.h"

void MainWindow::connectKeys() {
    connect(&session_, &Session::heldKeysChanged, this, &MainWindow::showHeldKeys);
}

void MainWindow::showHeldKeys(const QStringList& combinations) {
    heldKeysLabel_->setVisible(!combinations.isEmpty());
    if (combinations.isEmpty()) return;
    heldKeysLabel_->setText(QStringLiteral("ほかのプログラムが使っているため効かないキー： ") +
                            combinations.join(QStringLiteral("、")));
}

void MainWindow::showKeysUnavailable(const QString& reason) {
    keysUnavailableLabel_->setText(
        QStringLiteral("このデスクトップではシステム全体のキーが使えません（%1）。"
                       "デスクトップのキーボード設定で、ショートカットに「scribo --cmd 動作名」を"
                       "割り当ててください（動作名の一覧：scribo --cmd list）。")
            .arg(reason));
    keysUnavailableLabel_->show();
}
