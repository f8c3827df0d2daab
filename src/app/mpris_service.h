#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <functional>

#include "app/mpris_logic.h"

class TransportController;

// Scribo as a desktop media player (MPRIS 2): what the adaptors read, the commands they pass on
// to the transport, and the change signals QtDBus does not send by itself. Every command runs as
// a request of the session (hooked up in outside_entries.h), so a player error shows the usual
// error box instead of escaping into QtDBus. Raising the window, quitting and opening it reaches
// through hooks; the opens and quit wait for the session's gate themselves.
class MprisService : public QObject {
    Q_OBJECT
public:
    MprisService(TransportController& transport, const QDBusConnection& bus,
                 QObject* parent = nullptr);
    ~MprisService() override;

    // Puts the object on the bus and takes baseName, or baseName + ".instance<pid>" when another
    // Scribo holds it. False when the bus refused both (or is not there).
    bool publish(const QString& baseName = QString::fromLatin1(mpris::kServiceName));
    QString serviceName() const { return serviceName_; }
    const QDBusConnection& bus() const { return bus_; }

    // Runs a command; false when it was refused (a wait or the close is under way) or failed
    // (and the error was shown). Without one, commands run as they are.
    std::function<bool(const std::function<void()>&)> request;
    std::function<void()> raiseWindow;
    std::function<void()> quitProgram;
    // Opens a checked local media file as a drop would.
    std::function<void(const QString& path)> openFile;
    // Opening web addresses belongs to the URL panel; until one is given here they are refused.
    std::function<void(const QString& address)> openWebAddress;

    // ---- What the adaptors read -----------------------------------------------------------
    mpris::PlayerSnapshot snapshot();
    qint64 position() const;
    QDBusObjectPath currentTrackId();

    // ---- Commands ----------------------------------------------------------------------------
    void playPause();
    void play();
    void pause();
    void stop();
    void seek(qint64 offsetMicroseconds);
    void setPosition(const QDBusObjectPath& trackId, qint64 positionMicroseconds);
    void setRate(double rate);
    void setVolume(double volume);
    void raise();
    // Empty when the quit was taken; otherwise why not (a dialog waits for the user).
    QString quit();
    void quitFromSignal() { quit(); }
    // Checks what OpenUri names and opens it once the call has returned. The error is empty
    // when the request was taken; otherwise errorName is the D-Bus error to answer with.
    struct OpenResult {
        QString errorName;
        QString error;
    };
    OpenResult openUri(const QString& uri);
    OpenResult open(const mpris::OpenTarget& target);

Q_SIGNALS:
    void seeked(qlonglong positionMicroseconds);

private Q_SLOTS:
    // A command without arguments sent as a signal on our object: dbus-send sends one unless told
    // --type=method_call or --print-reply, and scripts rely on it as on the method call.
    void commandSignal(const QDBusMessage& message);

private:
    void listenForCommandSignals(bool listen);
    QString currentLocation() const;
    bool playing() const;
    void seekTo(double seconds);
    void scheduleRefresh();
    void refresh();

    bool run(const std::function<void()>& command);

    TransportController& transport_;
    QDBusConnection bus_;
    QString serviceName_;
    mpris::TrackIds tracks_;
    mpris::PlayerSnapshot last_;
    bool published_ = false;
    bool refreshPending_ = false;
};
