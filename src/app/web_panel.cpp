// The URL panel's part of the window: its buttons and the address box, and playing an address.

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"
#include "web/browser_launcher.h"
#include "web/url_panel.h"

void MainWindow::wireUrlPanel() {
    if (!browser_) {
        static DesktopBrowserLauncher desktopBrowser;
        browser_ = &desktopBrowser;
    }
    urlPanel_ = new UrlPanel(*this, *browser_, this);
    connect(urlPanel_, &UrlPanel::addressListed, addressBox_,
            [this](const QString& address) { addressBox_->addItem(address); });
    connect(urlPanel_, &UrlPanel::boxTextChanged, addressBox_, &QComboBox::setEditText);
    // A click during a wait would reset the window under the handler that waits.
    auto on = [this](QToolButton* button, void (MainWindow::*handler)()) {
        connect(button, &QToolButton::clicked, this, [this, handler] {
            if (gate_.isOpen()) guard([this, handler] { (this->*handler)(); });
        });
    };
    on(pasteAddressButton_, &MainWindow::pasteAddress);
    on(playAddressButton_, &MainWindow::playAddress);
    on(openInBrowserButton_, &MainWindow::openAddressInBrowser);
    connect(addressBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (gate_.isOpen()) guard([this] { playAddress(); });
    });
}

void MainWindow::pasteAddress() {
    urlPanel_->paste(QGuiApplication::clipboard()->text());
}

void MainWindow::playAddress() {
    urlPanel_->play(addressBox_->currentText());
}

void MainWindow::openAddressInBrowser() {
    urlPanel_->openInBrowser(addressBox_->currentText());
}

void MainWindow::playWebAddress(const QString& address) {
    releaseMedia();
    // Without a media path the transport's own commands stay idle; the player's on-screen
    // controls still work.
    transport_->openWebAddress(address);
}
