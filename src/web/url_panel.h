#pragma once

#include <QObject>
#include <QStringList>

class BrowserLauncher;

// Plays a web address for the URL panel. The transport returns the whole system to its initial
// state first; the position poll stays off and nothing of the run is saved at shutdown. Player
// failures surface as PlayerError, as for any other transport command.
class WebAddressPlayer {
public:
    virtual ~WebAddressPlayer() = default;
    virtual void playWebAddress(const QString& address) = 0;
};

// The URL panel without its widgets: the address box's session-only list and the three buttons.
// The window forwards the button clicks with the box's text (or the clipboard's) and shows what
// the panel signals.
class UrlPanel : public QObject {
    Q_OBJECT
public:
    UrlPanel(WebAddressPlayer& player, BrowserLauncher& browser, QObject* parent = nullptr);

    // Addresses taken from the clipboard since the start, oldest first; never stored anywhere.
    // The same address pasted twice is listed twice.
    const QStringList& pastedAddresses() const { return pasted_; }

    // The paste button: a clipboard text holding a web address is listed, shown and played.
    // Anything else is ignored. True when an address was played.
    bool paste(const QString& clipboardText);

    // The play button, a dropped web link and the desktop media interface: the box shows the
    // cleaned text, which is played if it is a web address. True when it was played.
    bool play(const QString& boxText);

    // The browser button: the box's text, only trimmed, goes to the browser if it is a web
    // address. True when the browser took it.
    bool openInBrowser(const QString& boxText);

Q_SIGNALS:
    void addressListed(const QString& address);  // append it to the box's list
    void boxTextChanged(const QString& text);    // show it in the box's edit field
    void messageRequested(const QString& text);  // an address too long to take

private:
    bool refuseTooLong(const QString& address);

    WebAddressPlayer& player_;
    BrowserLauncher& browser_;
    QStringList pasted_;
};
