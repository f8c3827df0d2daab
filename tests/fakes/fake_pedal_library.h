#pragma once

#include <QList>
#include <QStringList>

#include "pedal/pedal_library.h"

// A pedal library that answers from a script. One pedal is plugged in at the start; reads answer
// the queued reports in order, then NothingNew. Clearing the buffer of the open pedal drops the
// queued reads, as set-up does: queue reports once the pedal is set up. Every call is logged.
class FakePedalLibrary : public PedalLibrary {
public:
    bool loadSucceeds = true;
    int setupAnswer = PedalResults::Ok;  // while the pedal is plugged in and enumerated

    // The next read answers result with bits in byte 1 (even for results other than Ok, so
    // that a test can see them ignored).
    void queueRead(int result, int bits = 0) { reads_.append({result, bits}); }
    void queueReport(int bits) { queueRead(PedalResults::Ok, bits); }
    // Pulling the pedal out drops the queued reads: reads answer DeviceGone and enumeration finds
    // nothing until it is plugged in again.
    void unplug();
    void plugIn() { plugged_ = true; }
    bool isOpen() const { return open_; }

    // "load", "enumerate 1523", "setup 0", "clear 0", "read 0", "cleanup 0"
    QStringList log;
    int count(const QString& operation) const;

    bool load() override;
    QString libraryName() const override { return QStringLiteral("libfakehid.so.0"); }
    QString devicesFolder() const override { return devices; }
    QString devices;  // none watched unless a test names one
    int enumerateDevices(int vendorId, PedalEnumeration& devices, int& count) override;
    int setupInterface(int deviceIndex) override;
    void clearBuffer(int deviceIndex) override;
    int readData(int deviceIndex, PedalReport& report) override;
    void cleanupInterface(int deviceIndex) override;

private:
    struct Read {
        int result;
        int bits;
    };
    QList<Read> reads_;
    bool loaded_ = false;
    bool plugged_ = true;
    bool enumerated_ = false;
    bool open_ = false;
};
