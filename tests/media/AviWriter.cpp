#include "AviWriter.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace vorlo::testing {
namespace {

// Little-endian 32-bit words, or 16-bit ones where a word is given as two halves.
QByteArray words(std::initializer_list<std::uint32_t> values) {
    QByteArray out;
    for (std::uint32_t value : values)
        for (int shift = 0; shift < 32; shift += 8) out.append(static_cast<char>((value >> shift) & 0xFF));
    return out;
}

QByteArray halves(std::initializer_list<std::uint16_t> values) {
    QByteArray out;
    for (std::uint16_t value : values)
        out.append(static_cast<char>(value & 0xFF)).append(static_cast<char>(value >> 8));
    return out;
}

QByteArray chunk(const char* id, const QByteArray& body) {
    QByteArray out = QByteArray(id, 4) + words({static_cast<std::uint32_t>(body.size())}) + body;
    if (body.size() % 2 != 0) out.append('\0');
    return out;
}

QByteArray list(const char* type, const QByteArray& body) { return chunk("LIST", QByteArray(type, 4) + body); }

QByteArray jpegFrame(const AviClip& clip, int index) {
    QImage image(clip.width, clip.height, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(index * 24 % 360, 200, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return bytes;
}

QByteArray toneForFrame(const AviClip& clip, int index) {
    const int samples = clip.audioSampleRate / clip.framesPerSecond;
    QByteArray out;
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(index * samples + i) / clip.audioSampleRate;
        out +=
            halves({static_cast<std::uint16_t>(static_cast<std::int16_t>(3000.0 * std::sin(2.0 * M_PI * 440.0 * t)))});
    }
    return out;
}

// strh: type, handler, flags, priority+language, initial frames, scale, rate, start, length,
// buffer size, quality, sample size, frame rectangle.
QByteArray streamHeader(const char* type, const char* handler, std::uint32_t scale, std::uint32_t rate,
                        std::uint32_t length, std::uint32_t sampleSize, const AviClip& clip) {
    return chunk("strh",
                 QByteArray(type, 4) + QByteArray(handler, 4) +
                     words({0, 0, 0, scale, rate, 0, length, 0, 0xFFFFFFFF, sampleSize}) +
                     halves({0, 0, static_cast<std::uint16_t>(clip.width), static_cast<std::uint16_t>(clip.height)}));
}

}  // namespace

bool writeMjpegAvi(const QString& path, const AviClip& clip) {
    const bool withSound = clip.audioSampleRate > 0;
    const auto frames = static_cast<std::uint32_t>(clip.frameCount);
    const auto width = static_cast<std::uint32_t>(clip.width);
    const auto height = static_cast<std::uint32_t>(clip.height);

    QByteArray movi("movi");
    QByteArray index;
    std::uint32_t soundBytes = 0;
    const auto add = [&](const char* id, const QByteArray& data) {
        index += QByteArray(id, 4) +
                 words({0x10, static_cast<std::uint32_t>(movi.size()), static_cast<std::uint32_t>(data.size())});
        movi += chunk(id, data);
    };
    for (int i = 0; i < clip.frameCount; ++i) {
        add("00dc", jpegFrame(clip, i));
        if (!withSound) continue;
        const QByteArray pcm = toneForFrame(clip, i);
        soundBytes += static_cast<std::uint32_t>(pcm.size());
        add("01wb", pcm);
    }

    QByteArray headers = chunk("avih", words({static_cast<std::uint32_t>(1000000 / clip.framesPerSecond), 0, 0, 0x10,
                                              frames, 0, withSound ? 2u : 1u, 0, width, height, 0, 0, 0, 0}));
    const QByteArray bitmapInfo =
        words({40, width, height}) + halves({1, 24}) + QByteArray("MJPG") + words({width * height * 3, 0, 0, 0, 0});
    headers += list("strl",
                    streamHeader("vids", "MJPG", 1, static_cast<std::uint32_t>(clip.framesPerSecond), frames, 0, clip) +
                        chunk("strf", bitmapInfo));
    if (withSound) {
        const auto rate = static_cast<std::uint32_t>(clip.audioSampleRate);
        const QByteArray waveFormat = halves({1, 1}) + words({rate, rate * 2}) + halves({2, 16});
        headers += list(
            "strl", streamHeader("auds", "\0\0\0\0", 2, rate * 2, soundBytes / 2, 2, clip) + chunk("strf", waveFormat));
    }
    const QByteArray body = QByteArray("AVI ") + list("hdrl", headers) + chunk("LIST", movi) + chunk("idx1", index);
    const QByteArray file = QByteArray("RIFF") + words({static_cast<std::uint32_t>(body.size())}) + body;
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

}  // namespace vorlo::testing
