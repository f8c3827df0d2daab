#include "fakes/test_media.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace testmedia {

namespace {

void append16(QByteArray& out, quint16 v) {
    const quint16 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void append32(QByteArray& out, quint32 v) {
    const quint32 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

}  // namespace

bool writeWav(const QString& path, double seconds, double frequencyHz, const WavFormat& format) {
    if (format.sampleRate <= 0 || format.channels <= 0 || seconds < 0 ||
        (format.bitsPerSample != 8 && format.bitsPerSample != 16))
        return false;
    const int bytesPerSample = format.bitsPerSample / 8;
    const int blockAlign = bytesPerSample * format.channels;
    const auto frames = static_cast<qint64>(std::llround(seconds * format.sampleRate));
    const qint64 dataBytes = frames * blockAlign;
    if (dataBytes > 0xFFFFFFFFLL - 36) return false;

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray header;
    header.append("RIFF");
    append32(header, static_cast<quint32>(36 + dataBytes));
    header.append("WAVEfmt ");
    append32(header, 16);
    append16(header, 1);  // PCM
    append16(header, static_cast<quint16>(format.channels));
    append32(header, static_cast<quint32>(format.sampleRate));
    append32(header, static_cast<quint32>(format.sampleRate * blockAlign));
    append16(header, static_cast<quint16>(blockAlign));
    append16(header, static_cast<quint16>(format.bitsPerSample));
    header.append("data");
    append32(header, static_cast<quint32>(dataBytes));
    if (file.write(header) != header.size()) return false;

    // Written in chunks: an hour of audio need not sit in memory at once.
    constexpr qint64 kChunkFrames = 65536;
    const double step = 2.0 * std::numbers::pi * frequencyHz / format.sampleRate;
    QByteArray chunk;
    for (qint64 first = 0; first < frames; first += kChunkFrames) {
        const qint64 count = std::min(kChunkFrames, frames - first);
        chunk.resize(count * blockAlign);
        char* out = chunk.data();
        for (qint64 i = 0; i < count; ++i) {
            const double sample = frequencyHz > 0 ? 0.5 * std::sin(step * double(first + i)) : 0.0;
            for (int c = 0; c < format.channels; ++c) {
                if (bytesPerSample == 1) {
                    *out++ =
                        static_cast<char>(static_cast<quint8>(128 + std::lround(sample * 127)));
                } else {
                    const auto v = static_cast<qint16>(std::lround(sample * 32767));
                    const quint16 le = qToLittleEndian(static_cast<quint16>(v));
                    std::memcpy(out, &le, 2);
                    out += 2;
                }
            }
        }
        if (file.write(chunk) != chunk.size()) return false;
    }
    return file.flush();
}

bool haveFfmpeg() {
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

namespace {
bool runFfmpeg(const QStringList& arguments, const QString& targetPath) {
    if (!haveFfmpeg()) return false;
    QProcess ffmpeg;
    ffmpeg.start(
        QStringLiteral("ffmpeg"),
        QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                    QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y")} +
            arguments + QStringList{targetPath});
    if (!ffmpeg.waitForFinished(60000)) {
        ffmpeg.kill();
        ffmpeg.waitForFinished();
        return false;
    }
    return ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0 &&
           QFile::exists(targetPath);
}
}  // namespace

bool convertWithFfmpeg(const QString& sourcePath, const QString& targetPath) {
    return runFfmpeg({QStringLiteral("-i"), sourcePath}, targetPath);
}

bool writeVideoWithFfmpeg(const QString& path, double seconds) {
    const QString length = QString::number(seconds);
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("testsrc=size=320x240:rate=25:duration=") + length,
                      QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("sine=frequency=440:duration=") + length,
                      QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                      QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac")},
                     path);
}

}  // namespace testmedia
