#include "player/filebox/DragPayloads.h"

#include "core/playlist/MediaPaths.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QUrl>

namespace vorlo {

namespace {

qint64 ownProcess() { return QCoreApplication::applicationPid(); }

QByteArray pack(const QStringList& fields) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << ownProcess() << fields;
    return bytes;
}

// The fields of a payload of ours; none for a payload of another process or a damaged one.
std::optional<QStringList> unpack(const QMimeData* mime, const char* type) {
    if (!mime || !mime->hasFormat(QString::fromLatin1(type))) return std::nullopt;
    QDataStream in(mime->data(QString::fromLatin1(type)));
    qint64 process = 0;
    QStringList fields;
    in >> process >> fields;
    if (in.status() != QDataStream::Ok || process != ownProcess()) return std::nullopt;
    return fields;
}

}  // namespace

QMimeData* DragPayloads::fileBoxFiles(const QString& folder, const QStringList& names) {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(FileBoxFilesType), pack(QStringList{folder} + names));
    QList<QUrl> urls;
    for (const QString& name : names) urls.append(QUrl::fromLocalFile(folderWithSeparator(folder) + name));
    mime->setUrls(urls);
    return mime;
}

std::optional<DragPayloads::FileBoxFiles> DragPayloads::readFileBoxFiles(const QMimeData* mime) {
    std::optional<QStringList> fields = unpack(mime, FileBoxFilesType);
    if (!fields || fields->isEmpty()) return std::nullopt;
    return FileBoxFiles{fields->first(), fields->mid(1)};
}

QMimeData* DragPayloads::folder(const QString& path) {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(FolderType), pack({path}));
    return mime;
}

std::optional<QString> DragPayloads::readFolder(const QMimeData* mime) {
    std::optional<QStringList> fields = unpack(mime, FolderType);
    if (!fields || fields->size() != 1) return std::nullopt;
    return fields->first();
}

QMimeData* DragPayloads::playlistLine(int row) {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(PlaylistLineType), pack({QString::number(row)}));
    return mime;
}

bool DragPayloads::isPlaylistLine(const QMimeData* mime) { return unpack(mime, PlaylistLineType).has_value(); }

bool DragPayloads::isUriList(const QMimeData* mime) {
    return mime && mime->hasFormat(QString::fromLatin1(UriListType));
}

}  // namespace vorlo
