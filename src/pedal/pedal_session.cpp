#include "pedal/pedal_session.h"

PedalSession::Found PedalSession::beginSetUp() {
    state_ = State::Off;
    if (!library_.load()) {
        deviceIndex_ = -1;
        return Found::NoLibrary;
    }
    PedalEnumeration devices{};
    int count = 0;
    library_.enumerateDevices(kPedalVendorId, devices, count);
    deviceIndex_ = 0;
    if (count > 0) return Found::Pedal;
    // Nothing to open, so nothing to wait for.
    state_ = State::Searching;
    searchCountdown_ = kSearchTicks;
    return Found::NoPedal;
}

void PedalSession::finishSetUp() {
    if (library_.setupInterface(deviceIndex_) == PedalResults::Ok) {
        library_.clearBuffer(deviceIndex_);
        state_ = State::Ready;
    } else {
        state_ = State::Searching;
        searchCountdown_ = kSearchTicks;
    }
}

std::optional<PedalRead> PedalSession::tick(bool mediaOpen) {
    if (state_ == State::Searching) {
        if (--searchCountdown_ > 0) return std::nullopt;
        searchCountdown_ = kSearchTicks;
        if (!openPedal()) return std::nullopt;
    }
    if (state_ != State::Ready || !mediaOpen) return std::nullopt;

    PedalReport report{};
    lastResult_ = library_.readData(deviceIndex_, report);
    if (lastResult_ == PedalResults::DeviceGone) return PedalRead{lastResult_, 0};
    lastBits_ = report[kPedalBitsByte];
    if (lastResult_ == PedalResults::NothingNew) return std::nullopt;
    return PedalRead{lastResult_, lastBits_};
}

bool PedalSession::lookAgain() {
    if (state_ != State::Searching) return state_ == State::Ready;
    searchCountdown_ = kSearchTicks;
    return openPedal();
}

void PedalSession::releaseDevice() {
    library_.cleanupInterface(deviceIndex_);
    if (state_ == State::Off) return;
    state_ = State::Searching;
    searchCountdown_ = kSearchTicks;
}

bool PedalSession::openPedal() {
    // A replugged pedal is a new device node: find it again before opening it.
    PedalEnumeration devices{};
    int count = 0;
    if (library_.enumerateDevices(kPedalVendorId, devices, count) != PedalResults::Ok) return false;
    deviceIndex_ = 0;
    if (library_.setupInterface(deviceIndex_) != PedalResults::Ok) return false;
    library_.clearBuffer(deviceIndex_);
    state_ = State::Ready;
    return true;
}
