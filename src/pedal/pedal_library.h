#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Answers of the pedal library's operations. Reading gives Ok for a new report, NothingNew when
// none has arrived and DeviceGone once the pedal has been unplugged (or was released); every
// other value counts as a report with all pedals up.
namespace PedalResults {
inline constexpr int Ok = 0;
inline constexpr int NoDevice = 1;    // no pedal at that index: none plugged in, or not enumerated
inline constexpr int OpenFailed = 2;  // found but cannot be opened (no access: see the udev rule)
inline constexpr int NotLoaded = 3;   // the HID library is not loaded
inline constexpr int NothingNew = 304;
inline constexpr int DeviceGone = 307;
}  // namespace PedalResults

// The pedal maker's vendor id.
inline constexpr int kPedalVendorId = 0x05F3;

// A report as the pedal logic reads it: byte 0 is the report id, byte 1 holds the pedal bits
// (1 left, 2 centre, 4 right). Room for a full-speed HID report after the id.
inline constexpr int kPedalReportSize = 65;
using PedalReport = std::array<std::uint8_t, kPedalReportSize>;
inline constexpr int kPedalBitsByte = 1;

// Filled by enumeration; the program never reads it.
inline constexpr int kEnumerationSlots = 101;
using PedalEnumeration = std::array<std::int32_t, kEnumerationSlots>;

// The foot pedal's HID library, reduced to the five operations the pedal needs. Everything runs
// on the GUI thread and returns at once: reading never waits for the device.
class PedalLibrary {
public:
    virtual ~PedalLibrary() = default;

    // Loads and initialises the library; false when it cannot, and the program then runs without
    // the pedal. Calling it again after success does nothing and answers true.
    virtual bool load() = 0;
    // The library's file name, for the message that says it is missing.
    virtual QString libraryName() const = 0;
    // The folder where a plugged-in device's node appears, watched while no pedal is open so
    // that nothing needs polling; empty: none is watched.
    virtual QString devicesFolder() const = 0;

    // Finds the pedals of a vendor. Devices opened before are released and the indices start
    // over at 0. Fills a slot per device (its product id) and the count.
    virtual int enumerateDevices(int vendorId, PedalEnumeration& devices, int& count) = 0;
    // Opens the enumerated device at index; Ok when it can be read.
    virtual int setupInterface(int deviceIndex) = 0;
    // Drops the reports that arrived before.
    virtual void clearBuffer(int deviceIndex) = 0;
    // The oldest unread report into report (zero-filled first): Ok, NothingNew or DeviceGone.
    virtual int readData(int deviceIndex, PedalReport& report) = 0;
    // Releases the device; harmless on one already released or never opened.
    virtual void cleanupInterface(int deviceIndex) = 0;
};

// The start-up message for a library that cannot be loaded or initialised. programFolder keeps
// its trailing separator.
QString pedalLibraryMissingMessage(const QString& libraryName, const QString& programFolder);
