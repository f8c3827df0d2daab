// The hidapi pedal layer on the stand-in library that replays a scripted pedal, on a name that
// does not exist, and on the real hidapi where it is installed.

#include <QtTest>

#include "pedal/hid_pedal_library.h"

namespace {
QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
}  // namespace

class HidPedalLibraryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void readsReportsAndFindsThePedalAgainAfterReplug();
    void clearBufferDropsEarlierReports();
    void libraryBesideTheProgramComesFirst();
    void missingLibrary();
    void libraryThatCannotBeInitialised();
    void realHidapiLoads();

private:
    void writeScript(const QByteArray& text, QIODevice::OpenMode mode = QIODevice::WriteOnly);
    int readBits(HidPedalLibrary& library, int expectedResult);

    QTemporaryDir dir_;
    QString script_, log_;
    PedalEnumeration devices_{};
    int count_ = 0;
};

void HidPedalLibraryTest::init() {
    script_ = dir_.filePath(QStringLiteral("%1.script").arg(QTest::currentTestFunction()));
    log_ = dir_.filePath(QStringLiteral("%1.log").arg(QTest::currentTestFunction()));
    qputenv("SCRIBO_HID_STANDIN_SCRIPT", QFile::encodeName(script_));
    qputenv("SCRIBO_HID_STANDIN_LOG", QFile::encodeName(log_));
}

void HidPedalLibraryTest::writeScript(const QByteArray& text, QIODevice::OpenMode mode) {
    QFile file(script_);
    QVERIFY(file.open(mode));
    file.write(text);
}

int HidPedalLibraryTest::readBits(HidPedalLibrary& library, int expectedResult) {
    PedalReport report;
    report.fill(0xAA);
    const int result = library.readData(0, report);
    if (result != expectedResult) {
        qWarning("read answered %d, expected %d", result, expectedResult);
        return -1;
    }
    if (report[0] != 0) return -2;  // the report id, even when nothing was read
    return report[kPedalBitsByte];
}

void HidPedalLibraryTest::readsReportsAndFindsThePedalAgainAfterReplug() {
    writeScript("report 02 00\nreport 00 00\nunplug\n");
    HidPedalLibrary library(QStringLiteral(SCRIBO_HID_STANDIN));
    QVERIFY(library.load());
    QCOMPARE(library.enumerateDevices(kPedalVendorId, devices_, count_), PedalResults::Ok);
    QCOMPARE(count_, 2);  // the data and the keyboard-emulation interface
    QCOMPARE(library.setupInterface(0), PedalResults::Ok);

    QCOMPARE(readBits(library, PedalResults::Ok), 2);
    QCOMPARE(readBits(library, PedalResults::Ok), 0);
    QCOMPARE(readBits(library, PedalResults::DeviceGone), 0);
    library.cleanupInterface(0);
    library.cleanupInterface(0);  // again, as every further 307 does
    QCOMPARE(readBits(library, PedalResults::DeviceGone), 0);

    QCOMPARE(library.enumerateDevices(kPedalVendorId, devices_, count_), PedalResults::NoDevice);
    QCOMPARE(library.setupInterface(0), PedalResults::NoDevice);
    writeScript("plug\nreport 04 00\n", QIODevice::Append);
    QCOMPARE(library.enumerateDevices(kPedalVendorId, devices_, count_), PedalResults::Ok);
    QCOMPARE(library.setupInterface(0), PedalResults::Ok);
    QCOMPARE(readBits(library, PedalResults::Ok), 4);
    QCOMPARE(readBits(library, PedalResults::NothingNew), 0);

    const QStringList calls = readLines(log_);
    QVERIFY(calls.contains(QStringLiteral("hid_enumerate 05f3 0000")));
    // Reads never wait for the device.
    for (const QString& call : calls)
        if (call.startsWith(QStringLiteral("hid_read_timeout")))
            QVERIFY2(call.endsWith(QStringLiteral(" 0")), qPrintable(call));
    QVERIFY(calls.contains(QStringLiteral("hid_open_path /dev/hidraw-standin2")));
    QVERIFY(!calls.filter(QStringLiteral("keyboard")).size());
}

void HidPedalLibraryTest::clearBufferDropsEarlierReports() {
    writeScript("report 01\nreport 03\n");
    HidPedalLibrary library(QStringLiteral(SCRIBO_HID_STANDIN));
    QVERIFY(library.load());
    QCOMPARE(library.enumerateDevices(kPedalVendorId, devices_, count_), PedalResults::Ok);
    QCOMPARE(library.setupInterface(0), PedalResults::Ok);
    library.clearBuffer(0);
    QCOMPARE(readBits(library, PedalResults::NothingNew), 0);
}

void HidPedalLibraryTest::libraryBesideTheProgramComesFirst() {
    writeScript("");
    QTemporaryDir program;
    const QString name = QStringLiteral("libhidapi-hidraw.so.0");
    QVERIFY(QFile::copy(QStringLiteral(SCRIBO_HID_STANDIN), program.filePath(name)));
    HidPedalLibrary library(name, program.path() + QLatin1Char('/'));
    QVERIFY(library.load());
    QCOMPARE(readLines(log_), QStringList{QStringLiteral("hid_init")});
}

void HidPedalLibraryTest::missingLibrary() {
    const QByteArray name = "libscribo-no-such-hid.so.0";
    qputenv("SCRIBO_HID_LIBRARY", name);
    HidPedalLibrary library;
    qunsetenv("SCRIBO_HID_LIBRARY");
    QCOMPARE(library.libraryName(), QString::fromLatin1(name));
    QVERIFY(!library.load());
    QVERIFY(library.loadError().contains(QString::fromLatin1(name)));
    QCOMPARE(library.enumerateDevices(kPedalVendorId, devices_, count_), PedalResults::NotLoaded);
    QCOMPARE(library.setupInterface(0), PedalResults::NotLoaded);

    const QString message =
        pedalLibraryMissingMessage(library.libraryName(), QStringLiteral("/opt/scribo/"));
    QVERIFY(message.contains(QStringLiteral("【 libscribo-no-such-hid.so.0 】")));
    QVERIFY(message.contains(QStringLiteral("【 /opt/scribo/ 】")));
}

void HidPedalLibraryTest::libraryThatCannotBeInitialised() {
    writeScript("fail-init\n");
    HidPedalLibrary library(QStringLiteral(SCRIBO_HID_STANDIN));
    QVERIFY(!library.load());
    QVERIFY(library.loadError().contains(QStringLiteral("initialised")));
    QCOMPARE(library.setupInterface(0), PedalResults::NotLoaded);
}

void HidPedalLibraryTest::realHidapiLoads() {
    // Every function the layer needs is found in the real library; this machine may have a pedal
    // or not.
    HidPedalLibrary library(QStringLiteral("libhidapi-hidraw.so.0"));
    if (!library.load()) QSKIP("hidapi's hidraw backend is not installed");
    const int result = library.enumerateDevices(kPedalVendorId, devices_, count_);
    QCOMPARE(result, count_ > 0 ? PedalResults::Ok : PedalResults::NoDevice);
}

QTEST_GUILESS_MAIN(HidPedalLibraryTest)
#include "hid_pedal_library_test.moc"
