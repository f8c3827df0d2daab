#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <functional>

#include "app/mpris_logic.h"

class TransportController;

// Scribo as a desktop media player (MPRIS 2): what the adaptors read, the commands they pass on
// to the transport, and the change signals QtDBus does not send by itself. Every command runs
// through the guard it is given, so a player error shows the usual error box instead of escaping
// into QtDBus. What belongs to the window (raise, quit, open a file) it reaches through hooks.
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

    // Runs a command; false when it failed (and the error was shown). Without one, commands run
    // unguarded.
    std::function<bool(const std::function<void()>&)> guard;
    // Whether a request from outside may run now (not while closing or inside a wait); a
    // refused command is dropped, a refused open answered with an error.
    std::function<bool()> acceptsRequests;
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
    void quit();
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

    // Commands refused while the entry check says no; opens and quit, which the hooks defer
    // themselves, are always passed on.
    bool run(const std::function<void()>& command);
    bool runDeferrable(const std::function<void()>& command);
    bool accepting() const;

    TransportController& transport_;
    QDBusConnection bus_;
    QString serviceName_;
    mpris::TrackIds tracks_;
    mpris::PlayerSnapshot last_;
    bool published_ = false;
    bool refreshPending_ = false;
};
