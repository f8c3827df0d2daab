#include "fakes/fake_pedal_library.h"

#include <algorithm>

void FakePedalLibrary::unplug() {
    plugged_ = false;
    enumerated_ = false;
    reads_.clear();
}

int FakePedalLibrary::count(const QString& operation) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const QString& entry) {
        return entry == operation || entry.startsWith(operation + QLatin1Char(' '));
    }));
}

bool FakePedalLibrary::load() {
    log << QStringLiteral("load");
    loaded_ = loaded_ || loadSucceeds;
    return loaded_;
}

int FakePedalLibrary::enumerateDevices(int vendorId, PedalEnumeration& devices, int& count) {
    log << QStringLiteral("enumerate %1").arg(vendorId);
    devices.fill(0);
    open_ = false;
    enumerated_ = loaded_ && plugged_ && vendorId == kPedalVendorId;
    count = enumerated_ ? 1 : 0;
    if (!loaded_) return PedalResults::NotLoaded;
    return enumerated_ ? PedalResults::Ok : PedalResults::NoDevice;
}

int FakePedalLibrary::setupInterface(int deviceIndex) {
    log << QStringLiteral("setup %1").arg(deviceIndex);
    if (!loaded_) return PedalResults::NotLoaded;
    if (!plugged_ || !enumerated_ || deviceIndex != 0) return PedalResults::NoDevice;
    if (setupAnswer == PedalResults::Ok) open_ = true;
    return setupAnswer;
}

void FakePedalLibrary::clearBuffer(int deviceIndex) {
    log << QStringLiteral("clear %1").arg(deviceIndex);
    if (open_) reads_.clear();
}

int FakePedalLibrary::readData(int deviceIndex, PedalReport& report) {
    log << QStringLiteral("read %1").arg(deviceIndex);
    report.fill(0);
    if (!open_ || deviceIndex != 0 || !plugged_) return PedalResults::DeviceGone;
    if (reads_.isEmpty()) return PedalResults::NothingNew;
    const Read read = reads_.takeFirst();
    report[kPedalBitsByte] = static_cast<std::uint8_t>(read.bits);
    return read.result;
}

void FakePedalLibrary::cleanupInterface(int deviceIndex) {
    log << QStringLiteral("cleanup %1").arg(deviceIndex);
    if (deviceIndex == 0) open_ = false;
}
