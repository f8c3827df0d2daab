// Where the settings file is kept: beside the program (portable), or per user for an installed
// program, with the built-in default file put there on first start.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "session/settings_location.h"

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
void touch(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}
}  // namespace

class SettingsHomeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void builtInDefaultsAreTheShippedFile();
    void portableWhenAFileLiesBesideTheProgram();
    void notInstalledStaysBesideTheProgram();
    void installedCreatesDefaultsOnce();
    void installedKeepsAnyExistingUserFile();
    void unwritableUserFolderIsAnError();
    void recognisesAnInstalledProgram();
    void userFolderFollowsXdg();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString program_, user_;
};

void SettingsHomeTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    program_ = dir_->filePath(QStringLiteral("bin")) + QLatin1Char('/');
    user_ = dir_->filePath(QStringLiteral("config/scribo")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(program_));
}

void SettingsHomeTest::builtInDefaultsAreTheShippedFile() {
    const QByteArray shipped = readAll(QStringLiteral(SCRIBO_SOURCE_DIR "/data/Scribo.inf"));
    QVERIFY(shipped.contains("\r\n"));
    QCOMPARE(readAll(QString::fromLatin1(kDefaultSettingsResource)), shipped);
}

void SettingsHomeTest::portableWhenAFileLiesBesideTheProgram() {
    touch(program_ + QStringLiteral("scribo_mine.INF"));
    for (bool installed : {false, true}) {
        const SettingsHome home =
            ChooseSettingsHome(program_.chopped(1), QStringLiteral("Scribo"), installed, user_);
        QCOMPARE(home.folder, program_);
        QVERIFY(home.error.isEmpty());
    }
    QVERIFY(!QFileInfo::exists(user_));
}

void SettingsHomeTest::notInstalledStaysBesideTheProgram() {
    // Start-up then refuses there, as it always has.
    const SettingsHome home = ChooseSettingsHome(program_, QStringLiteral("Scribo"), false, user_);
    QCOMPARE(home.folder, program_);
    QVERIFY(home.error.isEmpty());
    QVERIFY(!QFileInfo::exists(user_));
    QVERIFY(QDir(program_).isEmpty());
}

void SettingsHomeTest::installedCreatesDefaultsOnce() {
    const SettingsHome home = ChooseSettingsHome(program_, QStringLiteral("Scribo"), true, user_);
    QCOMPARE(home.folder, user_);
    QVERIFY(home.error.isEmpty());
    const QString created = user_ + QStringLiteral("Scribo.inf");
    QCOMPARE(readAll(created), readAll(QString::fromLatin1(kDefaultSettingsResource)));
    // The settings are written as they change: the file must not keep the built-in read-only mode.
    QVERIFY(QFileInfo(created).permissions() & QFileDevice::WriteOwner);
    QVERIFY(QDir(program_).isEmpty());

    // What the user changed since is kept.
    touch(created, "[FormPosition]\r\nTop=1\r\n");
    QCOMPARE(ChooseSettingsHome(program_, QStringLiteral("Scribo"), true, user_).folder, user_);
    QCOMPARE(readAll(created), QByteArray("[FormPosition]\r\nTop=1\r\n"));
}

void SettingsHomeTest::installedKeepsAnyExistingUserFile() {
    QVERIFY(QDir().mkpath(user_));
    touch(user_ + QStringLiteral("Scribo-work.inf"), "mine");
    QCOMPARE(ChooseSettingsHome(program_, QStringLiteral("Scribo"), true, user_).folder, user_);
    QCOMPARE(QDir(user_).entryList(QDir::Files), QStringList{QStringLiteral("Scribo-work.inf")});
}

void SettingsHomeTest::unwritableUserFolderIsAnError() {
    // A file where the folder should be cannot be made into one.
    const QString blocked = dir_->filePath(QStringLiteral("blocked"));
    touch(blocked);
    const SettingsHome home = ChooseSettingsHome(program_, QStringLiteral("Scribo"), true,
                                                 blocked + QStringLiteral("/scribo"));
    QVERIFY(home.folder.isEmpty());
    QVERIFY2(home.error.contains(blocked + QStringLiteral("/scribo/Scribo.inf")),
             qPrintable(home.error));
    QCOMPARE(readAll(blocked), QByteArray("x"));
}

void SettingsHomeTest::recognisesAnInstalledProgram() {
    const QString entry = QStringLiteral("../share/applications/scribo.desktop");
    // Neither the install folder nor an install tree around it: a build folder.
    QVERIFY(!IsInstalledProgram(program_, QStringLiteral("/usr/local/bin"), entry));
    // The folder it was built to be installed to, named by another path to the same place.
    QVERIFY(QFile::link(program_.chopped(1), dir_->filePath(QStringLiteral("link"))));
    QVERIFY(IsInstalledProgram(program_, dir_->filePath(QStringLiteral("link")), entry));
    // An install tree moved elsewhere.
    QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("share/applications"))));
    touch(dir_->filePath(QStringLiteral("share/applications/scribo.desktop")));
    QVERIFY(IsInstalledProgram(program_, QStringLiteral("/usr/local/bin"), entry));
    QVERIFY(!IsInstalledProgram(program_, QString(), QString()));
    QVERIFY(!IsInstalledProgram(dir_->filePath(QStringLiteral("missing")), QString(), entry));
}

void SettingsHomeTest::userFolderFollowsXdg() {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/conf/");
    QCOMPARE(UserSettingsFolder(), QStringLiteral("/somewhere/conf/scribo/"));
    qputenv("XDG_CONFIG_HOME", "relative/conf");
    QCOMPARE(UserSettingsFolder(), QDir::homePath() + QStringLiteral("/.config/scribo/"));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(UserSettingsFolder(), QDir::homePath() + QStringLiteral("/.config/scribo/"));
    if (!saved.isNull()) qputenv("XDG_CONFIG_HOME", saved);
}

QTEST_GUILESS_MAIN(SettingsHomeTest)
#include "settings_home_test.moc"
