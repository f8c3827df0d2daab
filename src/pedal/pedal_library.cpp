#include "pedal/pedal_library.h"

#include <QDir>

QString pedalLibraryMissingMessage(const QString& libraryName, const QString& programFolder) {
    // The library is a system package here; the program's folder is where a portable copy goes.
    return QStringLiteral("フットペダル用ＵＳＢドライバー・ファイル【 ") + libraryName +
           QStringLiteral(" 】が、プログラムと同じフォルダー\n\n【 ") +
           QDir::toNativeSeparators(programFolder) +
           QStringLiteral(
               " 】\n\nにもシステムにも存在しないか、使用できません\n\n"
               "（ Debian ： sudo apt install libhidapi-hidraw0 ）");
}
