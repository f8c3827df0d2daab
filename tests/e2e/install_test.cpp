// What `cmake --install` puts in place, checked with the desktop's own validator, and the
// installed program keeping its settings per user.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QXmlStreamReader>
#include <QtTest>

#include "e2e/e2e_support.h"

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.scribo");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
bool registered() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(kService).value();
}
// The build folder the binary under test was built in.
QString buildFolder() {
    QDir dir = QFileInfo(QStringLiteral(SCRIBO_BINARY)).absoluteDir();
    while (!dir.exists(QStringLiteral("CMakeCache.txt")) && dir.cdUp()) {
    }
    return dir.path();
}
}  // namespace

class InstallTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void installsBinaryEntryIconAndDocumentation();
    void desktopEntryPassesTheValidator();
    void iconIsAnSvgOfItsOwn();
    void installedScriboKeepsSettingsPerUser();
    void settingsBesideTheInstalledBinaryKeepItPortable();

private:
    QTemporaryDir prefix_;
    QString path(const QString& relative) const { return prefix_.filePath(relative); }
    // Runs the installed binary with its own config folder until it has published itself.
    bool runInstalled(QProcess& process, const QString& configHome);
};

void InstallTest::initTestCase() {
    QVERIFY(prefix_.isValid());
    int code = -1;
    const QString output = runTool(
        QStringLiteral("cmake"),
        {QStringLiteral("--install"), buildFolder(), QStringLiteral("--prefix"), prefix_.path()},
        120000, &code);
    QVERIFY2(code == 0, qPrintable(output));
}

void InstallTest::installsBinaryEntryIconAndDocumentation() {
    const QFileInfo binary(path(QStringLiteral("bin/scribo")));
    QVERIFY(binary.isFile() && binary.isExecutable());
    QVERIFY(QFileInfo(path(QStringLiteral("share/applications/scribo.desktop"))).isFile());
    QVERIFY(
        QFileInfo(path(QStringLiteral("share/icons/hicolor/scalable/apps/scribo.svg"))).isFile());
    QVERIFY(readAll(path(QStringLiteral("share/doc/scribo/README.md"))).startsWith("# Scribo"));
    const QByteArray pedalRule =
        readAll(path(QStringLiteral("lib/udev/rules.d/70-scribo-pedal.rules")));
    QVERIFY(pedalRule.contains(R"(ATTRS{idVendor}=="05f3", TAG+="uaccess")"));
    // No settings file beside an installed binary: it would make it portable.
    QCOMPARE(QDir(path(QStringLiteral("bin"))).entryList(QDir::Files),
             QStringList{QStringLiteral("scribo")});
}

void InstallTest::desktopEntryPassesTheValidator() {
    const QString entry = path(QStringLiteral("share/applications/scribo.desktop"));
    int code = -1;
    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(validator.waitForFinished(30000), "desktop-file-validate is missing or hangs");
    code = validator.exitCode();
    const QString report = QString::fromUtf8(validator.readAll());
    QVERIFY2(code == 0 && !report.contains(QStringLiteral("error")), qPrintable(report));

    const QString text = QString::fromUtf8(readAll(entry));
    for (const char* line : {"Name=Scribo\n", "Name[ja]=", "Exec=scribo %f\n", "Icon=scribo\n",
                             "Categories=AudioVideo;Player;\n", "MimeType=video/x-ms-wmv;",
                             "audio/mpeg;", "Type=Application\n"})
        QVERIFY2(text.contains(QString::fromUtf8(line)), line);
}

void InstallTest::iconIsAnSvgOfItsOwn() {
    QXmlStreamReader svg(
        readAll(path(QStringLiteral("share/icons/hicolor/scalable/apps/scribo.svg"))));
    QVERIFY(svg.readNextStartElement());
    QCOMPARE(svg.name(), QStringLiteral("svg"));
    QVERIFY(!svg.attributes().value(QStringLiteral("viewBox")).isEmpty());
    int shapes = 0;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement) ++shapes;
    }
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    QVERIFY(shapes > 3);
}

bool InstallTest::runInstalled(QProcess& process, const QString& configHome) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    process.start(path(QStringLiteral("bin/scribo")), {});
    return process.waitForStarted(5000) && waitUntil([] { return registered(); }, 20000);
}

void InstallTest::installedScriboKeepsSettingsPerUser() {
    const QString config = path(QStringLiteral("config"));
    const QString settings = config + QStringLiteral("/scribo/Scribo.inf");
    QProcess scribo;
    QVERIFY2(runInstalled(scribo, config),
             qPrintable(QString::fromLocal8Bit(scribo.readAllStandardError())));
    // Created on first start from the defaults built into the program.
    QCOMPARE(readAll(settings), readAll(QStringLiteral(SCRIBO_SOURCE_DIR "/data/Scribo.inf")));
    QVERIFY(quitScribo());
    QVERIFY(scribo.waitForFinished(15000));
    QCOMPARE(scribo.exitCode(), 0);

    // A later start keeps what the user has.
    QFile file(settings);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[FormPosition]\r\nTop=33\r\nLeft=44\r\n");
    file.close();
    QProcess again;
    QVERIFY(runInstalled(again, config));
    QVERIFY(quitScribo());
    QVERIFY(again.waitForFinished(15000));
    QVERIFY(readAll(settings).startsWith("[FormPosition]\r\nTop=33\r\nLeft=44\r\n"));
}

void InstallTest::settingsBesideTheInstalledBinaryKeepItPortable() {
    const QString beside = path(QStringLiteral("bin/Scribo.inf"));
    QVERIFY(QFile::copy(QStringLiteral(SCRIBO_SOURCE_DIR "/data/Scribo.inf"), beside));
    QFile::setPermissions(beside, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString config = path(QStringLiteral("portable-config"));
    QProcess scribo;
    QVERIFY(runInstalled(scribo, config));
    QVERIFY(quitScribo());
    QVERIFY(scribo.waitForFinished(15000));
    QCOMPARE(scribo.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(config));
    QFile::remove(beside);
}

QTEST_GUILESS_MAIN(InstallTest)
#include "install_test.moc"
