// The URL panel's part of the window: its buttons and the address box.

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "session/session.h"
#include "web/url_panel.h"

void MainWindow::wireUrlPanel() {
    UrlPanel& panel = session_.urlPanel();
    connect(&panel, &UrlPanel::addressListed, addressBox_,
            [this](const QString& address) { addressBox_->addItem(address); });
    connect(&panel, &UrlPanel::boxTextChanged, addressBox_, &QComboBox::setEditText);
    // Requests like those from outside: a click during a wait would reset the session under the
    // command that waits.
    connect(pasteAddressButton_, &QToolButton::clicked, this,
            [this] { session_.pasteAddress(QGuiApplication::clipboard()->text()); });
    connect(playAddressButton_, &QToolButton::clicked, this,
            [this] { session_.playAddress(addressBox_->currentText()); });
    connect(openInBrowserButton_, &QToolButton::clicked, this,
            [this] { session_.openAddressInBrowser(addressBox_->currentText()); });
    connect(addressBox_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { session_.playAddress(addressBox_->currentText()); });
}
