#include "transport/media_files.h"

#include <QFileInfo>
#include <QStringList>

const std::array<QString, 20> kMediaExtensions = {QStringLiteral(".wmv"),
                                                  QStringLiteral(".mpg"),
                                                  QStringLiteral(".wav"),
                                                  QStringLiteral(".wma"),
                                                  QStringLiteral(".mp3"),
                                                  QStringLiteral(".mp4"),
                                                  QStringLiteral(".m4a"),
                                                  QStringLiteral(".aac"),
                                                  QStringLiteral(".3gp"),
                                                  QStringLiteral(".3gpp"),
                                                  QStringLiteral(".3gp2"),
                                                  QStringLiteral(".3g2"),
                                                  QStringLiteral(".mov"),
                                                  QString(),
                                                  QString(),
                                                  QString(),
                                                  QString(),
                                                  QString(),
                                                  QString(),
                                                  QString()};

const std::vector<FurtherMediaType>& FurtherMediaTypes() {
    auto types = [](std::initializer_list<const char*> names) {
        QStringList list;
        for (const char* name : names)
            list << QLatin1String(name);
        return list;
    };
    static const std::vector<FurtherMediaType> kTypes = {
        {QStringLiteral(".opus"), types({"audio/ogg", "audio/opus", "audio/x-opus+ogg"})},
        {QStringLiteral(".ogg"), types({"audio/ogg", "audio/x-vorbis+ogg"})},
        {QStringLiteral(".oga"), types({"audio/ogg"})},
        {QStringLiteral(".ogv"), types({"video/ogg"})},
        {QStringLiteral(".flac"), types({"audio/flac", "audio/x-flac"})},
        {QStringLiteral(".m4b"), types({"audio/mp4", "audio/x-m4b"})},
        {QStringLiteral(".m4v"), types({"video/mp4", "video/x-m4v"})},
        {QStringLiteral(".webm"), types({"video/webm", "audio/webm"})},
        {QStringLiteral(".mkv"), types({"video/x-matroska"})},
        {QStringLiteral(".mka"), types({"audio/x-matroska"})},
        {QStringLiteral(".avi"), types({"video/x-msvideo", "video/vnd.avi"})},
        {QStringLiteral(".mpeg"), types({"video/mpeg"})},
        {QStringLiteral(".mp2"), types({"audio/mpeg"})},
        {QStringLiteral(".aif"), types({"audio/x-aiff", "audio/aiff"})},
        {QStringLiteral(".aiff"), types({"audio/x-aiff", "audio/aiff"})},
        {QStringLiteral(".wv"), types({"audio/x-wavpack"})},
        {QStringLiteral(".ac3"), types({"audio/ac3"})},
        {QStringLiteral(".caf"), types({"audio/x-caf"})},
        {QStringLiteral(".au"), types({"audio/basic"})},
        {QStringLiteral(".ts"), types({"video/mp2t"})},
        {QStringLiteral(".mts"), types({"video/mp2t"})},
        {QStringLiteral(".m2ts"), types({"video/mp2t"})},
        {QStringLiteral(".flv"), types({"video/x-flv"})},
    };
    return kTypes;
}

const QString kOpenDialogTitle = QStringLiteral("開く");
const QString kOpenDialogFilter = QStringLiteral(
    "再生できるメディア・ファイル|*.wmv;*.mpg;*.mpeg;*.wav;*.wma;*.mp3;*.mp4;*.m4a;*.aac;*.3gp;"
    "*.3gpp;*.3gp2;*.3g2;*.mov;*.opus;*.ogg;*.oga;*.ogv;*.flac;*.m4b;*.m4v;*.webm;*.mkv;*.mka;"
    "*.avi;*.mp2;*.aif;*.aiff;*.wv;*.ac3;*.caf;*.au;*.ts;*.mts;*.m2ts;*.flv|"
    "【基本】動画・音声（*.wmv/mpg/wav/wma/mp3/m4a/aac）|*.wmv;*.mpg;*.mpeg;*.wma;*.mp3;*.wav;*mp4;"
    "*.aac;;*.m4a|【拡張】動画・音声( *.mp4;*.3gp;*.3gpp;*.3gp2;*.3g2;*.mov)|*.aac;*.mp4;*.3gp;"
    "*.3gpp;*.3gp2;*.3g2;*.mov|すべてのメディア・ファイル( *.*)|*.*");
const QString kOpenDialogDefaultExt = QStringLiteral(".mp3");

namespace {
// The extension with its dot, from the last "." of the file name; empty without one.
QString extensionOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}
}  // namespace

bool IsMediaFileName(const QString& path) {
    const QString ext = extensionOf(path).toLower();
    if (ext.isEmpty()) return false;
    for (const QString& entry : kMediaExtensions)
        if (!entry.isEmpty() && ext.startsWith(entry)) return true;
    for (const FurtherMediaType& type : FurtherMediaTypes())
        if (ext == type.extension) return true;
    return false;
}

std::optional<QTime> ParseTimeOfDay(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const QString part = parts[i].trimmed();
        values[i] = part.toInt(&ok);
        if (!ok || part.isEmpty() || part.size() > 2 || values[i] < 0) return std::nullopt;
    }
    if (values[0] > 23 || values[1] > 59 || values[2] > 59) return std::nullopt;
    return QTime(values[0], values[1], values[2]);
}

AtNameTime ParseAtNameTime(const QString& fileName) {
    if (!fileName.startsWith(QLatin1Char('@'))) return {};
    const qsizetype equals = fileName.indexOf(QLatin1Char('='));
    if (equals < 0) return {};
    QString part = fileName.mid(1, equals - 1);
    if (!part.contains(QLatin1Char('_'))) return {};
    part.replace(QLatin1Char('_'), QLatin1Char(':'));
    const auto time = ParseTimeOfDay(part);
    if (!time) return {AtNameTime::Invalid, QTime()};
    return {AtNameTime::Time, *time};
}
