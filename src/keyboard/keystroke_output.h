#pragma once

#include <QObject>
#include <memory>

// Sends Ctrl+V to whichever window has the keyboard focus.
class KeystrokeOutput : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~KeystrokeOutput() override = default;

    virtual bool isAvailable() const = 0;
    // Pastes once every key of the keyboard is up, so the paste neither mixes with the keys the
    // user still holds nor goes to the program that grabbed them. The event loop keeps running
    // meanwhile (the clipboard must be served). Requests made while one waits join it: the
    // clipboard holds one text, so one paste is what the user wants.
    virtual void pasteWhenKeysReleased() = 0;

Q_SIGNALS:
    void pasted();
    // Keys stayed down too long, or there is no way to send keys here; the text stays in the
    // clipboard for the user to paste.
    void pasteAbandoned();
};

// The XTest output on an X display; elsewhere one that abandons every paste.
std::unique_ptr<KeystrokeOutput> createKeystrokeOutput(QObject* parent = nullptr);
