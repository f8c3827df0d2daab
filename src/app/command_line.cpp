#include "app/command_line.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include "core/file_name.h"

namespace {
bool looksLikeAddress(const QString& argument) {
    const qsizetype colon = argument.indexOf(QLatin1Char(':'));
    // "c:..." or "./a:b" are names; a scheme is at least two letters and comes first.
    return colon > 1 && argument.left(colon).contains(
                            QRegularExpression(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*$")));
}
}  // namespace

QString CommandLine::targetUri() const {
    if (target.kind == mpris::OpenTarget::LocalFile) return localFileUri(target.location);
    return target.location;
}

CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder) {
    CommandLine result;
    QStringList names;
    bool optionsEnded = false;
    bool command = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument.startsWith(QLatin1String("--cmd=")) && !command) {
            command = true;
            result.actionName = argument.mid(6);
        } else if (!optionsEnded && argument == QLatin1String("--cmd") && !command) {
            command = true;
            if (i + 1 < arguments.size())
                result.actionName = arguments.at(++i);
            else if (result.error.isEmpty())
                result.error =
                    QStringLiteral("--cmd needs an action ('scribo --cmd list' shows them)");
        } else if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded &&
                   (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
            return {CommandLine::Help, {}, {}, {}};
        } else if (!optionsEnded &&
                   (argument == QLatin1String("-v") || argument == QLatin1String("--version"))) {
            if (result.action != CommandLine::Help) result.action = CommandLine::Version;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (result.error.isEmpty()) result.error = QStringLiteral("unknown option ") + argument;
        } else {
            names << argument;
        }
    }
    if (result.action == CommandLine::Version) return {CommandLine::Version, {}, {}, {}};
    if (command && result.error.isEmpty() && !names.isEmpty())
        result.error = QStringLiteral("--cmd takes no file");
    if (command && result.error.isEmpty()) {
        result.action = CommandLine::Command;
        return result;
    }
    if (result.error.isEmpty() && names.size() > 1)
        result.error = QStringLiteral("only one file can be opened");
    if (result.error.isEmpty() && names.size() == 1) {
        const QString& name = names.constFirst();
        const QString path = QDir(workingFolder).absoluteFilePath(name);
        if (name.isEmpty())
            result.error = QStringLiteral("an empty file name");
        else if (looksLikeAddress(name) && !fileExists(path))
            result.target = mpris::ParseOpenUri(name);
        else
            result.target = mpris::CheckLocalFile(path);
        if (result.error.isEmpty() && result.target.kind == mpris::OpenTarget::Invalid)
            result.error = result.target.location + QStringLiteral(": ") + result.target.error;
    }
    if (!result.error.isEmpty()) {
        result.action = CommandLine::Fail;
        result.target = {};
        result.actionName.clear();
    }
    return result;
}

QString HelpText() {
    return QStringLiteral(
        "Usage: scribo [FILE]\n"
        "       scribo --cmd ACTION\n"
        "A media player for transcribing recordings.\n"
        "\n"
        "  FILE           a media file to open after start-up (or a web address); when Scribo\n"
        "                 is already running, it is handed to that one instead\n"
        "  --cmd ACTION   run a key action (play-pause, insert-time-code, ...) in the running\n"
        "                 Scribo, for desktop shortcuts; 'scribo --cmd list' lists them\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n");
}

QString VersionText() {
    return QStringLiteral("Scribo " SCRIBO_VERSION_TEXT "\n");
}
