#include "session/settings_location.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/file_access.h"
#include "core/file_name.h"

QString FindSettingsFile(const QString& folder, const QString& prefix) {
    QDir dir(folder);
    const QStringList names =
        dir.entryList({prefix + QStringLiteral("*.inf")},
                      QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (!name.startsWith(prefix, Qt::CaseInsensitive) ||
            !name.endsWith(QStringLiteral(".inf"), Qt::CaseInsensitive))
            continue;
        if (!QFileInfo(dir.filePath(name)).isDir()) return name;
    }
    return {};
}

QString SettingsFileProblem(const QString& path) {
    // QFileInfo::isFile() also holds for FIFOs and devices; stat() tells them apart.
    const QByteArray name = fileNameToBytes(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) return QStringLiteral("it cannot be found");
    if (S_ISDIR(status.st_mode)) return QStringLiteral("it is a folder");
    if (!S_ISREG(status.st_mode)) return QStringLiteral("it is not a regular file");
    // Read as empty, it would be written back at the close with nothing but our keys.
    if (status.st_size > kSmallFileLimit)
        return QStringLiteral("it is larger than %1 MiB").arg(kSmallFileLimit >> 20);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return QStringLiteral("it cannot be read (%1)").arg(qt_error_string(errno));
    ::close(fd);
    return {};
}

void RemoveInterruptedWrites(const QString& settingsPath) {
    removeLeftoverTemporaryFiles(settingsPath);
}

bool IsInstalledProgram(const QString& programFolder, const QString& installBinFolder,
                        const QString& entryFromBinFolder) {
    const QString here = QFileInfo(programFolder).canonicalFilePath();
    if (here.isEmpty()) return false;
    if (!installBinFolder.isEmpty() && here == QFileInfo(installBinFolder).canonicalFilePath())
        return true;
    return !entryFromBinFolder.isEmpty() &&
           QFileInfo(QDir(here).filePath(entryFromBinFolder)).isFile();
}

QString UserSettingsFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Relative values are to be ignored, as the base directory rules say.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base) + QStringLiteral("/scribo/");
}

SettingsHome ChooseSettingsHome(const QString& programFolder, const QString& prefix, bool installed,
                                const QString& userFolder, const QString& defaultsPath) {
    auto withSlash = [](QString folder) {
        if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
        return folder;
    };
    if (!installed || !FindSettingsFile(programFolder, prefix).isEmpty())
        return {withSlash(programFolder), {}};
    const QString folder = withSlash(userFolder);
    if (!FindSettingsFile(folder, prefix).isEmpty()) return {folder, {}};

    const QString target = folder + prefix + QStringLiteral(".inf");
    auto fail = [&](const QString& why) {
        return SettingsHome{{},
                            QStringLiteral("cannot create the settings file %1: %2")
                                .arg(QDir::toNativeSeparators(target), why)};
    };
    QFile defaults(defaultsPath);
    if (!defaults.open(QIODevice::ReadOnly)) return fail(defaults.errorString());
    const QByteArray bytes = defaults.readAll();
    if (!QDir().mkpath(folder)) return fail(QStringLiteral("the folder cannot be made"));
    // Written, not copied: a copy would keep the read-only mode of the built-in file.
    if (const int error = replaceFile(target, bytes)) return fail(qt_error_string(error));
    return {folder, {}};
}
