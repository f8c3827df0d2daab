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

void TAMainForm::wireUrlPanel() {
    if (!browser_) {
        static DesktopBrowserLauncher desktopBrowser;
        browser_ = &desktopBrowser;
    }
    urlPanel_ = new UrlPanel(*this, *browser_, this);
    connect(urlPanel_, &UrlPanel::addressListed, ComboBoxURL,
            [this](const QString& address) { ComboBoxURL->addItem(address); });
    connect(urlPanel_, &UrlPanel::boxTextChanged, ComboBoxURL, &QComboBox::setEditText);
    // A click during a wait would reset the window under the handler that waits.
    auto on = [this](QToolButton* button, void (TAMainForm::*handler)()) {
        connect(button, &QToolButton::clicked, this, [this, handler] {
            if (gate_.isOpen()) guard([this, handler] { (this->*handler)(); });
        });
    };
    on(sbURLPaste, &TAMainForm::sbURLPasteClick);
    on(sbURLgo, &TAMainForm::sbURLgoClick);
    on(sbOPenIE, &TAMainForm::sbOPenIEClick);
    connect(ComboBoxURL->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (gate_.isOpen()) guard([this] { sbURLgoClick(); });
    });
}

void TAMainForm::sbURLPasteClick() {
    urlPanel_->paste(QGuiApplication::clipboard()->text());
}

void TAMainForm::sbURLgoClick() {
    urlPanel_->play(ComboBoxURL->currentText());
}

void TAMainForm::sbOPenIEClick() {
    urlPanel_->openInBrowser(ComboBoxURL->currentText());
}

void TAMainForm::playWebAddress(const QString& address) {
    ReleaseInitialize();
    // Without a media path the transport's own commands stay idle; the player's on-screen
    // controls still work.
    transport_->openWebAddress(address);
}
