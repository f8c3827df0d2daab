#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM (what a logout or shutdown sends), SIGINT and SIGHUP, brought into the event loop
// through a pipe, so that they end Scribo with the same orderly close as its own exit instead of
// losing what was not saved yet. The handler only writes the signal's number to the pipe, so it
// does not matter which thread the signal lands on.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up (the signals then end the program
    // as before).
    bool isInstalled() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    QSocketNotifier* notifier_ = nullptr;
};
