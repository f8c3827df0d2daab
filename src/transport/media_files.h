#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <array>
#include <optional>
#include <vector>

// The media extension table: 20 slots, 13 in use, tried in order as prefixes of the lower-cased
// extension (so ".3gpp" and ".MP3" are media, ".mpeg" is not).
extern const std::array<QString, 20> kMediaExtensions;

// Further formats the player plays that a Linux user has (Ogg, Opus, FLAC, Matroska, WebM, …),
// with their MIME types. Matched exactly: as prefixes, short ones such as ".ts" would take
// ".tsv" files for media.
struct FurtherMediaType {
    QString extension;
    QStringList mimeTypes;
};
const std::vector<FurtherMediaType>& FurtherMediaTypes();

bool IsMediaFileName(const QString& path);

// The "@" name form: "@0_12_30=interview.mp3" carries the time 0:12:30. NoTime for names without
// the form; Invalid when the part before "=" does not read as a time of day.
struct AtNameTime {
    enum Kind { NoTime, Time, Invalid } kind = NoTime;
    QTime time;
};
AtNameTime ParseAtNameTime(const QString& fileName);
// A time of day as typed: "h:mm:ss" or "h:mm" with 0 <= h < 24, minutes and seconds below 60.
std::optional<QTime> ParseTimeOfDay(const QString& text);

// The open dialog.
extern const QString kOpenDialogTitle;
extern const QString kOpenDialogFilter;
extern const QString kOpenDialogDefaultExt;
