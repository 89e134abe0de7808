#include "core/info/FileReport.h"

#include "core/playlist/MediaPaths.h"
#include "midi/SmfReader.h"
#include "os/NativePath.h"
#include "os/RegularFile.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

#include <span>
#include <variant>

#include <sys/stat.h>

namespace vorlo {

namespace {

// The texts sit at the very start of the first track, so the head of the file is enough to find them; a
// large file renamed to ".mid" is not read whole for a report of a few lines.
constexpr qsizetype MidiBytesRead = 1 << 20;

// Song texts are 8-bit text of unknown encoding: UTF-8 when they are valid UTF-8, else one byte per character.
QString songText(const std::string& bytes) {
    // A text ends at its first NUL byte, as it always has for the player.
    const std::string text = bytes.substr(0, bytes.find('\0'));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return utf8.hasError() ? QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())) : decoded;
}

}  // namespace

QString FileReport::kilobytesText(std::int64_t bytes) {
    QString text = QString::number(static_cast<double>(bytes) / 1024.0, 'g', 15);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) text.truncate(point + 3);
    return text;
}

QString FileReport::dateText(const QDateTime& lastWrite) {
    const QLocale locale = QLocale::system();
    // The long time format of some locales ends in the time zone, which a file's date never showed.
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    const QString timeFormat = locale.timeFormat(QLocale::LongFormat).remove(zone);
    return locale.toString(lastWrite.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(lastWrite.time(), timeFormat);
}

QString FileReport::captionFor(int selectedIndex, int entryCount) {
    return QStringLiteral("Information - File %1 of %2 %3")
        .arg(selectedIndex + 1)
        .arg(entryCount)
        .arg(entryCount == 1 ? QStringLiteral("File") : QStringLiteral("Files"));
}

QStringList FileReport::midiLines(const QByteArray& bytes) {
    const auto data =
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
    const midi::ReadResult result = midi::readMidi(data);
    const midi::MidiFile* file = std::get_if<midi::MidiFile>(&result);
    // A file that is no MIDI file at all shows its path, size and date only.
    if (!file) return {};
    QStringList lines;
    lines << QStringLiteral("Type:\tMIDI Format %1").arg(file->format);
    lines << QStringLiteral("Track:\t%1").arg(file->declaredTrackCount);
    if (file->tracks.empty()) return lines;
    bool titleSeen = false;
    bool otherSeen = false;
    for (const midi::MidiEvent& event : file->tracks.front().events) {
        if (event.isMeta(midi::MetaType::TrackName)) {
            lines << (titleSeen ? QStringLiteral("Subtitle:\t") : QStringLiteral("Title:\t")) +
                         songText(file->textOf(event));
            titleSeen = true;
        } else if (event.isMeta(midi::MetaType::Copyright)) {
            lines << songText(file->textOf(event));
        } else if (event.isMeta(midi::MetaType::Text)) {
            if (!otherSeen) lines << QString() << QStringLiteral("Other Information:");
            otherSeen = true;
            lines << songText(file->textOf(event));
        } else {
            break;  // only the texts that open the track describe the song
        }
    }
    return lines;
}

FileReport FileReport::build(const QString& path, int selectedIndex, int entryCount) {
    // Only a regular file is read, and the open never waits: an entry that is now a FIFO or a device gives no
    // report instead of a frozen window. The name goes to the system as its own bytes.
    const QString extension = extensionLowered(path);
    const bool midi = extension == QLatin1String(".mid") || extension == QLatin1String(".kar");
    const FileHead head = readFileHead(path, midi ? MidiBytesRead : 0);
    struct stat status {};
    if (!head.error.isEmpty() || ::stat(encodePath(path).constData(), &status) != 0) return {};
    const QDateTime lastWrite = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000);
    FileReport report;
    report.lines << QStringLiteral("Path:\t") + path;
    report.lines << QStringLiteral("Size:\t") + kilobytesText(status.st_size) + QStringLiteral(" KB");
    report.lines << QStringLiteral("Date:\t") + dateText(lastWrite);
    report.lines << QString();
    if (midi) report.lines << midiLines(head.bytes);
    report.caption = captionFor(selectedIndex, entryCount);
    return report;
}

}  // namespace vorlo
