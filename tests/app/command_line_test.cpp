// Reading the command line: help, version, the one file to open, and what is refused.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/command_line.h"

class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void nothingGivenJustRuns();
    void helpAndVersion_data();
    void helpAndVersion();
    void fileNames_data();
    void fileNames();
    void refused_data();
    void refused();
    void webAddress();
    void actionCommand_data();
    void actionCommand();

private:
    QTemporaryDir dir_;
    QString cwd_;
};

void CommandLineTest::initTestCase() {
    QVERIFY(dir_.isValid());
    cwd_ = dir_.path();
    QDir(cwd_).mkpath(QStringLiteral("sub"));
    for (const char* name : {"talk.mp3", "sub/録音.WAV", "-odd.wav", "notes.txt", "rec:1.wav"})
        QVERIFY(QFile(dir_.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly));
}

void CommandLineTest::nothingGivenJustRuns() {
    const CommandLine line = ParseCommandLine({}, cwd_);
    QCOMPARE(line.action, CommandLine::Run);
    QVERIFY(!line.hasTarget());
    QVERIFY(line.error.isEmpty());
}

void CommandLineTest::helpAndVersion_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::newRow("--help") << QStringList{"--help"} << int(CommandLine::Help);
    QTest::newRow("-h") << QStringList{"-h"} << int(CommandLine::Help);
    QTest::newRow("--version") << QStringList{"--version"} << int(CommandLine::Version);
    QTest::newRow("-v") << QStringList{"-v"} << int(CommandLine::Version);
    QTest::newRow("help wins over version")
        << QStringList{"--version", "--help"} << int(CommandLine::Help);
    QTest::newRow("help wins over errors")
        << QStringList{"--bogus", "a", "b", "-h"} << int(CommandLine::Help);
    QTest::newRow("version with a missing file")
        << QStringList{"gone.wav", "--version"} << int(CommandLine::Version);
    QTest::newRow("after -- it is a name") << QStringList{"--", "--help"} << int(CommandLine::Fail);
}

void CommandLineTest::helpAndVersion() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QCOMPARE(int(ParseCommandLine(arguments, cwd_).action), action);
    QVERIFY(HelpText().startsWith(QStringLiteral("Usage: scribo [FILE]\n")));
    QCOMPARE(VersionText(), QStringLiteral("Scribo Ver. 14.07.02\n"));
}

void CommandLineTest::fileNames_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("relative") << QStringList{"talk.mp3"} << cwd_ + "/talk.mp3";
    QTest::newRow("in a sub-folder, Japanese, upper case")
        << QStringList{"sub/録音.WAV"} << cwd_ + "/sub/録音.WAV";
    QTest::newRow("with dots") << QStringList{"./sub/../talk.mp3"} << cwd_ + "/talk.mp3";
    QTest::newRow("absolute") << QStringList{cwd_ + "/talk.mp3"} << cwd_ + "/talk.mp3";
    QTest::newRow("file URI")
        << QStringList{QUrl::fromLocalFile(cwd_ + "/sub/録音.WAV").toString(QUrl::FullyEncoded)}
        << cwd_ + "/sub/録音.WAV";
    QTest::newRow("name like an option after --")
        << QStringList{"--", "-odd.wav"} << cwd_ + "/-odd.wav";
    QTest::newRow("a name with a colon that exists")
        << QStringList{"rec:1.wav"} << cwd_ + "/rec:1.wav";
}

void CommandLineTest::fileNames() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    const CommandLine line = ParseCommandLine(arguments, cwd_);
    QCOMPARE(line.action, CommandLine::Run);
    QCOMPARE(int(line.target.kind), int(mpris::OpenTarget::LocalFile));
    QCOMPARE(line.target.location, path);
    // What is handed to a running Scribo reads back as the same file.
    QCOMPARE(mpris::ParseOpenUri(line.targetUri()).location, path);
}

void CommandLineTest::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option")
        << QStringList{"--bogus"} << QStringLiteral("unknown option --bogus");
    QTest::newRow("two files") << QStringList{"talk.mp3", "talk.mp3"}
                               << QStringLiteral("only one file can be opened");
    QTest::newRow("missing") << QStringList{"gone.wav"} << cwd_ + ": no such file";
    QTest::newRow("not media") << QStringList{"notes.txt"} << cwd_ + ": not a media file";
    QTest::newRow("folder") << QStringList{"sub"} << cwd_ + ": a folder, not a file";
    QTest::newRow("empty") << QStringList{""} << QStringLiteral("an empty file name");
    QTest::newRow("other scheme") << QStringList{"ftp://host/a.mp3"}
                                  << QStringLiteral("unsupported address scheme ftp");
    QTest::newRow("--cmd alone") << QStringList{"--cmd"}
                                 << QStringLiteral(
                                        "--cmd needs an action ('scribo --cmd list' "
                                        "shows them)");
    QTest::newRow("--cmd with a file")
        << QStringList{"--cmd", "play-pause", "talk.mp3"} << QStringLiteral("--cmd takes no file");
}

void CommandLineTest::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const CommandLine line = ParseCommandLine(arguments, cwd_);
    QCOMPARE(line.action, CommandLine::Fail);
    QVERIFY(!line.hasTarget());
    // Paths are named in full; the reason follows.
    if (error.startsWith(cwd_)) {
        QVERIFY2(line.error.startsWith(cwd_ + QLatin1Char('/')), qPrintable(line.error));
        QVERIFY2(line.error.endsWith(error.mid(cwd_.size())), qPrintable(line.error));
    } else {
        QVERIFY2(line.error.endsWith(error), qPrintable(line.error));
    }
}

void CommandLineTest::webAddress() {
    const CommandLine line = ParseCommandLine({"https://example.org/a%20b.mp3"}, cwd_);
    QCOMPARE(line.action, CommandLine::Run);
    QCOMPARE(int(line.target.kind), int(mpris::OpenTarget::WebAddress));
    QCOMPARE(line.targetUri(), QStringLiteral("https://example.org/a%20b.mp3"));
}

void CommandLineTest::actionCommand_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("name");
    QTest::newRow("separate") << QStringList{"--cmd", "volume-up"} << QStringLiteral("volume-up");
    QTest::newRow("joined") << QStringList{"--cmd=list"} << QStringLiteral("list");
    // Checked against the actions by whoever runs it, so the message can name them.
    QTest::newRow("unknown passes") << QStringList{"--cmd", "dance"} << QStringLiteral("dance");
}

void CommandLineTest::actionCommand() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, name);
    const CommandLine line = ParseCommandLine(arguments, cwd_);
    QCOMPARE(line.action, CommandLine::Command);
    QCOMPARE(line.actionName, name);
    QVERIFY(!line.hasTarget());
}

QTEST_APPLESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
