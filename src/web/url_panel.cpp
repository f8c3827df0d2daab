#include "web/url_panel.h"

#include "web/browser_launcher.h"
#include "web/web_address.h"

UrlPanel::UrlPanel(WebAddressPlayer& player, BrowserLauncher& browser, QObject* parent)
    : QObject(parent), player_(player), browser_(browser) {}

bool UrlPanel::paste(const QString& clipboardText) {
    const QString address = web::cleanUrl(clipboardText);
    if (!web::isWebAddress(address)) return false;
    if (refuseTooLong(address)) return false;
    pasted_ << address;
    Q_EMIT addressListed(address);
    return play(address);  // shows it in the box
}

bool UrlPanel::play(const QString& boxText) {
    const QString address = web::cleanUrl(boxText);
    Q_EMIT boxTextChanged(address);
    if (!web::isWebAddress(address) || refuseTooLong(address)) return false;
    player_.playWebAddress(address);
    return true;
}

bool UrlPanel::openInBrowser(const QString& boxText) {
    const QString address = web::browserAddress(boxText);
    return !address.isEmpty() && !refuseTooLong(address) && browser_.open(address);
}

bool UrlPanel::refuseTooLong(const QString& address) {
    if (address.size() <= web::kMaxAddressLength) return false;
    Q_EMIT messageRequested(web::tooLongMessage());
    return true;
}
