#include "AviWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <vector>

namespace vorlo::testing {
namespace {

void putU16(QByteArray& out, std::uint32_t value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
}

void putU32(QByteArray& out, std::uint32_t value) {
  putU16(out, value & 0xFFFF);
  putU16(out, value >> 16);
}

void putFourCc(QByteArray& out, const char* code) { out.append(code, 4); }

QByteArray chunk(const char* id, const QByteArray& body) {
  QByteArray out;
  putFourCc(out, id);
  putU32(out, static_cast<std::uint32_t>(body.size()));
  out.append(body);
  if (body.size() % 2 != 0) out.append('\0');
  return out;
}

QByteArray list(const char* type, const QByteArray& body) {
  QByteArray inner;
  putFourCc(inner, type);
  inner.append(body);
  return chunk("LIST", inner);
}

QByteArray jpegFrame(const AviClip& clip, int index) {
  QImage image(clip.width, clip.height, QImage::Format_RGB32);
  image.fill(QColor::fromHsv((index * 40) % 360, 200, 220));
  QPainter painter(&image);
  painter.fillRect(index * 4 % clip.width, 0, 8, clip.height, Qt::black);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", 80);
  return bytes;
}

QByteArray pcmForFrame(const AviClip& clip, int index) {
  const int samplesPerFrame = clip.audioSampleRate / clip.framesPerSecond;
  QByteArray out;
  for (int i = 0; i < samplesPerFrame; ++i) {
    const double t = static_cast<double>(index * samplesPerFrame + i) / clip.audioSampleRate;
    const auto sample = static_cast<std::int16_t>(3000.0 * std::sin(2.0 * M_PI * 440.0 * t));
    putU16(out, static_cast<std::uint16_t>(sample));
  }
  return out;
}

QByteArray streamHeader(const char* type, const char* handler, std::uint32_t scale, std::uint32_t rate,
                        std::uint32_t length, std::uint32_t sampleSize, const AviClip& clip) {
  QByteArray h;
  putFourCc(h, type);
  putFourCc(h, handler);
  putU32(h, 0);  // flags
  putU16(h, 0);  // priority
  putU16(h, 0);  // language
  putU32(h, 0);  // initial frames
  putU32(h, scale);
  putU32(h, rate);
  putU32(h, 0);  // start
  putU32(h, length);
  putU32(h, 0);  // suggested buffer size
  putU32(h, 0xFFFFFFFF);  // quality: default
  putU32(h, sampleSize);
  putU16(h, 0);
  putU16(h, 0);
  putU16(h, static_cast<std::uint32_t>(clip.width));
  putU16(h, static_cast<std::uint32_t>(clip.height));
  return chunk("strh", h);
}

}  // namespace

bool writeMjpegAvi(const QString& path, const AviClip& clip) {
  const bool withAudio = clip.audioSampleRate > 0;
  const auto frames = static_cast<std::uint32_t>(clip.frameCount);

  QByteArray movi;
  putFourCc(movi, "movi");
  QByteArray index;
  std::uint32_t audioBytes = 0;
  auto addToMovi = [&](const char* id, const QByteArray& data) {
    putFourCc(index, id);
    putU32(index, 0x10);  // key frame
    putU32(index, static_cast<std::uint32_t>(movi.size()));  // offset from the "movi" code
    putU32(index, static_cast<std::uint32_t>(data.size()));
    movi.append(chunk(id, data));
  };
  for (int i = 0; i < clip.frameCount; ++i) {
    addToMovi("00dc", jpegFrame(clip, i));
    if (withAudio) {
      const QByteArray pcm = pcmForFrame(clip, i);
      audioBytes += static_cast<std::uint32_t>(pcm.size());
      addToMovi("01wb", pcm);
    }
  }

  QByteArray avih;
  putU32(avih, static_cast<std::uint32_t>(1000000 / clip.framesPerSecond));
  putU32(avih, 0);
  putU32(avih, 0);
  putU32(avih, 0x10);  // has index
  putU32(avih, frames);
  putU32(avih, 0);
  putU32(avih, withAudio ? 2 : 1);
  putU32(avih, 0);
  putU32(avih, static_cast<std::uint32_t>(clip.width));
  putU32(avih, static_cast<std::uint32_t>(clip.height));
  for (int i = 0; i < 4; ++i) putU32(avih, 0);

  QByteArray bitmapInfo;
  putU32(bitmapInfo, 40);
  putU32(bitmapInfo, static_cast<std::uint32_t>(clip.width));
  putU32(bitmapInfo, static_cast<std::uint32_t>(clip.height));
  putU16(bitmapInfo, 1);
  putU16(bitmapInfo, 24);
  putFourCc(bitmapInfo, "MJPG");
  putU32(bitmapInfo, static_cast<std::uint32_t>(clip.width * clip.height * 3));
  for (int i = 0; i < 4; ++i) putU32(bitmapInfo, 0);

  QByteArray headers = chunk("avih", avih);
  headers.append(list("strl", streamHeader("vids", "MJPG", 1, static_cast<std::uint32_t>(clip.framesPerSecond),
                                           frames, 0, clip) +
                                  chunk("strf", bitmapInfo)));
  if (withAudio) {
    const auto rate = static_cast<std::uint32_t>(clip.audioSampleRate);
    QByteArray waveFormat;
    putU16(waveFormat, 1);  // PCM
    putU16(waveFormat, 1);  // mono
    putU32(waveFormat, rate);
    putU32(waveFormat, rate * 2);
    putU16(waveFormat, 2);
    putU16(waveFormat, 16);
    headers.append(list("strl", streamHeader("auds", "\0\0\0\0", 2, rate * 2, audioBytes / 2, 2, clip) +
                                    chunk("strf", waveFormat)));
  }

  QByteArray body;
  putFourCc(body, "AVI ");
  body.append(list("hdrl", headers));
  body.append(chunk("LIST", movi));
  body.append(chunk("idx1", index));

  QByteArray file;
  putFourCc(file, "RIFF");
  putU32(file, static_cast<std::uint32_t>(body.size()));
  file.append(body);

  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

}  // namespace vorlo::testing
