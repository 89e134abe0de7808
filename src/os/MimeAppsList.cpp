#include "os/MimeAppsList.h"

namespace vorlo {

namespace {

bool isGroupHeader(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

// The key of a "key=value" line; empty for comments, blank lines and headers.
QString keyOf(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) || isGroupHeader(line)) return {};
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    return equals < 0 ? QString() : trimmed.left(equals).trimmed();
}

QString valueOf(const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals < 0 ? QString() : line.mid(equals + 1).trimmed();
}

}  // namespace

MimeAppsList MimeAppsList::parse(const QByteArray& text) {
    MimeAppsList list;
    if (text.isEmpty()) return list;
    QString all = QString::fromUtf8(text);
    list.endsWithNewline_ = all.endsWith(QLatin1Char('\n'));
    if (list.endsWithNewline_) all.chop(1);
    list.lines_ = all.split(QLatin1Char('\n'));
    return list;
}

QByteArray MimeAppsList::text() const {
    if (lines_.isEmpty()) return {};
    QString all = lines_.join(QLatin1Char('\n'));
    if (endsWithNewline_) all += QLatin1Char('\n');
    return all.toUtf8();
}

qsizetype MimeAppsList::groupLine() const {
    const QString header = QLatin1Char('[') + QLatin1String(kDefaultGroup) + QLatin1Char(']');
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (lines_[i].trimmed() == header) return i;
    return -1;
}

qsizetype MimeAppsList::groupEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < lines_.size() && !isGroupHeader(lines_[i])) ++i;
    return i;
}

qsizetype MimeAppsList::entryLine(const QString& mimeType) const {
    const qsizetype header = groupLine();
    if (header < 0) return -1;
    const qsizetype end = groupEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (keyOf(lines_[i]).compare(mimeType, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

std::optional<QString> MimeAppsList::defaultFor(const QString& mimeType) const {
    const qsizetype line = entryLine(mimeType);
    if (line < 0) return std::nullopt;
    return valueOf(lines_[line]);
}

QStringList MimeAppsList::defaultApplications(const QString& mimeType) const {
    QStringList names = defaultFor(mimeType).value_or(QString()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& name : names) name = name.trimmed();
    names.removeAll(QString());
    return names;
}

void MimeAppsList::setDefault(const QString& mimeType, const QString& value) {
    const QString line = mimeType + QLatin1Char('=') + value;
    if (const qsizetype existing = entryLine(mimeType); existing >= 0) {
        lines_[existing] = line;
        removeLaterLines(mimeType, existing);
        return;
    }
    qsizetype header = groupLine();
    if (header < 0) {
        // A new group after whatever the file holds, parted from it by a blank line.
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) lines_ << QString();
        lines_ << QLatin1Char('[') + QLatin1String(kDefaultGroup) + QLatin1Char(']');
        header = lines_.size() - 1;
        endsWithNewline_ = true;
    }
    // After the group's last entry, before the blank lines that part it from the next group.
    qsizetype at = groupEnd(header);
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty()) --at;
    lines_.insert(at, line);
}

void MimeAppsList::removeDefault(const QString& mimeType) {
    if (const qsizetype existing = entryLine(mimeType); existing >= 0) {
        lines_.removeAt(existing);
        removeLaterLines(mimeType, existing - 1);
    }
}

void MimeAppsList::removeLaterLines(const QString& mimeType, qsizetype after) {
    // A type named twice in the group is read differently by different desktops (the first line or the last):
    // once we set or remove it, it is named once at most.
    const qsizetype end = groupEnd(groupLine());
    for (qsizetype i = end - 1; i > after; --i)
        if (keyOf(lines_[i]).compare(mimeType, Qt::CaseInsensitive) == 0) lines_.removeAt(i);
}

}  // namespace vorlo
