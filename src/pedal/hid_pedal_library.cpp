#include "pedal/hid_pedal_library.h"

#include <dlfcn.h>
#include <hidapi.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string>

namespace {
// Usage page of the interface that P.I. Engineering devices send their data on; other
// interfaces of the same device (keyboard or mouse emulation) stay silent.
constexpr unsigned short kDataUsagePage = 0x000C;
// Bounds the drain of a device that never stops reporting.
constexpr int kMaxDrainedReports = 1024;
}  // namespace

struct HidPedalLibrary::Api {
    decltype(&hid_init) init = nullptr;
    decltype(&hid_exit) exit = nullptr;
    decltype(&hid_enumerate) enumerate = nullptr;
    decltype(&hid_free_enumeration) freeEnumeration = nullptr;
    decltype(&hid_open_path) openPath = nullptr;
    decltype(&hid_read_timeout) readTimeout = nullptr;
    decltype(&hid_close) close = nullptr;
};

struct HidPedalLibrary::Device {
    std::string path;
    int productId = 0;
    bool dataInterface = false;
    hid_device* handle = nullptr;
};

QString HidPedalLibrary::configuredLibraryName() {
    const QString configured = qEnvironmentVariable("SCRIBO_HID_LIBRARY");
    return configured.isEmpty() ? QStringLiteral("libhidapi-hidraw.so.0") : configured;
}

QString HidPedalLibrary::devicesFolder() const {
    const QString configured = qEnvironmentVariable("SCRIBO_HID_DEVICES");
    return configured.isEmpty() ? QStringLiteral("/dev") : configured;
}

HidPedalLibrary::HidPedalLibrary(QString libraryName, QString programFolder)
    : libraryName_(std::move(libraryName)), programFolder_(std::move(programFolder)) {}

HidPedalLibrary::~HidPedalLibrary() {
    releaseAll();
    if (api_) api_->exit();
    if (handle_) dlclose(handle_);
}

namespace {
template <typename Function>
bool resolve(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}
}  // namespace

bool HidPedalLibrary::load() {
    if (api_) return true;
    QString file = libraryName_;
    if (!file.contains(QLatin1Char('/')) && !programFolder_.isEmpty() &&
        QFileInfo::exists(programFolder_ + file))
        file = programFolder_ + file;

    dlerror();
    void* handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        loadError_ = QString::fromLocal8Bit(dlerror());
        return false;
    }
    auto api = std::make_unique<Api>();
    const char* missing = nullptr;
    const auto need = [&](const char* name, auto& function) {
        if (!missing && !resolve(handle, name, function)) missing = name;
    };
    need("hid_init", api->init);
    need("hid_exit", api->exit);
    need("hid_enumerate", api->enumerate);
    need("hid_free_enumeration", api->freeEnumeration);
    need("hid_open_path", api->openPath);
    need("hid_read_timeout", api->readTimeout);
    need("hid_close", api->close);
    if (missing) {
        loadError_ = QStringLiteral("%1 has no %2").arg(file, QLatin1String(missing));
        dlclose(handle);
        return false;
    }
    if (api->init() != 0) {
        loadError_ = QStringLiteral("%1 could not be initialised").arg(file);
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    api_ = std::move(api);
    loadError_.clear();
    return true;
}

int HidPedalLibrary::enumerateDevices(int vendorId, PedalEnumeration& devices, int& count) {
    releaseAll();
    devices_.clear();
    devices.fill(0);
    count = 0;
    if (!api_) return PedalResults::NotLoaded;

    hid_device_info* list = api_->enumerate(static_cast<unsigned short>(vendorId), 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        if (!info->path) continue;
        devices_.push_back({info->path, info->product_id, info->usage_page == kDataUsagePage});
    }
    api_->freeEnumeration(list);
    std::stable_partition(devices_.begin(), devices_.end(),
                          [](const Device& d) { return d.dataInterface; });

    count = static_cast<int>(devices_.size());
    for (int i = 0; i < std::min(count, kEnumerationSlots); ++i)
        devices[i] = devices_[i].productId;
    return devices_.empty() ? PedalResults::NoDevice : PedalResults::Ok;
}

int HidPedalLibrary::setupInterface(int deviceIndex) {
    if (!api_) return PedalResults::NotLoaded;
    Device* d = device(deviceIndex);
    if (!d) return PedalResults::NoDevice;
    if (!d->handle) d->handle = api_->openPath(d->path.c_str());
    return d->handle ? PedalResults::Ok : PedalResults::OpenFailed;
}

void HidPedalLibrary::clearBuffer(int deviceIndex) {
    Device* d = device(deviceIndex);
    if (!d || !d->handle) return;
    PedalReport scratch{};
    for (int i = 0; i < kMaxDrainedReports; ++i)
        if (api_->readTimeout(d->handle, scratch.data(), scratch.size(), 0) <= 0) break;
}

int HidPedalLibrary::readData(int deviceIndex, PedalReport& report) {
    report.fill(0);
    if (!api_) return PedalResults::NotLoaded;
    Device* d = device(deviceIndex);
    if (!d || !d->handle) return PedalResults::DeviceGone;
    // hidapi leaves out the report id of devices without numbered reports; keep byte 0 for it so
    // that the pedal bits land in byte 1.
    const int n = api_->readTimeout(d->handle, report.data() + 1, report.size() - 1, 0);
    if (n < 0) return PedalResults::DeviceGone;
    return n == 0 ? PedalResults::NothingNew : PedalResults::Ok;
}

void HidPedalLibrary::cleanupInterface(int deviceIndex) {
    Device* d = device(deviceIndex);
    if (!d || !d->handle) return;
    api_->close(d->handle);
    d->handle = nullptr;
}

HidPedalLibrary::Device* HidPedalLibrary::device(int deviceIndex) {
    if (deviceIndex < 0 || deviceIndex >= static_cast<int>(devices_.size())) return nullptr;
    return &devices_[static_cast<std::size_t>(deviceIndex)];
}

void HidPedalLibrary::releaseAll() {
    for (int i = 0; i < static_cast<int>(devices_.size()); ++i)
        cleanupInterface(i);
}
