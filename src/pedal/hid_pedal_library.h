#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "pedal/pedal_library.h"

// The pedal library on hidapi's hidraw backend, loaded when first needed so that a machine
// without hidapi still runs Scribo (without the pedal).
class HidPedalLibrary : public PedalLibrary {
public:
    // The library to load: SCRIBO_HID_LIBRARY when set, otherwise hidapi's hidraw backend.
    static QString configuredLibraryName();

    // A plain file name is looked for in programFolder first (a portable copy beside the
    // program), then where the system keeps its libraries; a path is loaded as it is.
    explicit HidPedalLibrary(QString libraryName = configuredLibraryName(),
                             QString programFolder = QString());
    ~HidPedalLibrary() override;
    HidPedalLibrary(const HidPedalLibrary&) = delete;
    HidPedalLibrary& operator=(const HidPedalLibrary&) = delete;

    bool load() override;
    QString libraryName() const override { return libraryName_; }
    // hidraw's nodes appear in /dev; SCRIBO_HID_DEVICES names another folder.
    QString devicesFolder() const override;
    // Why the last load() failed, for a line on standard error.
    QString loadError() const { return loadError_; }

    int enumerateDevices(int vendorId, PedalEnumeration& devices, int& count) override;
    int setupInterface(int deviceIndex) override;
    void clearBuffer(int deviceIndex) override;
    int readData(int deviceIndex, PedalReport& report) override;
    void cleanupInterface(int deviceIndex) override;

private:
    struct Api;
    struct Device;
    Device* device(int deviceIndex);
    void releaseAll();

    QString libraryName_;
    QString programFolder_;
    QString loadError_;
    void* handle_ = nullptr;
    std::unique_ptr<Api> api_;
    std::vector<Device> devices_;
};
