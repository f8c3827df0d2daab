#include "app/settings_location.h"

#include <QDir>
#include <QFileInfo>

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
