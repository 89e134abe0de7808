#include "core/playlist/ZipSession.h"

#include "core/app/BusyCursor.h"
#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "core/playlist/MediaPaths.h"
#include "os/NativePath.h"
#include "zip/MemberNames.h"

#include <QFile>

namespace vorlo {

ZipSession::ZipSession(QObject* parent) : QObject(parent) {}

ZipSession::~ZipSession() = default;

std::vector<PlaylistEntry> ZipSession::readArchive(const QString& archive, QString& error) {
    reader_.reset();
    if (folder_.isEmpty()) {
        error = QStringLiteral("the player has no private temporary folder to extract its members into");
        return {};
    }
    std::string why;
    reader_ = zip::ZipArchive::open(encodePath(archive).toStdString(), why);
    std::vector<PlaylistEntry> entries;
    if (!reader_) {
        error = QString::fromStdString(why);
        qCDebug(lcZip) << "archive" << archive << "cannot be read:" << error;
        return entries;
    }
    const QString base = folderWithSeparator(folder_);
    for (const zip::Member& member : reader_->members()) {
        if (!member.playable) continue;
        entries.push_back({base + QString::fromStdString(member.baseName), QString::fromStdString(member.name), false,
                           static_cast<int>(member.index)});
    }
    qCDebug(lcZip) << "archive" << archive << "has" << reader_->members().size() << "members," << entries.size()
                   << "playable";
    // An archive with nothing to play is not entered: it need not stay open.
    if (entries.empty()) reader_.reset();
    return entries;
}

void ZipSession::enter(const QString& archive) {
    const bool wasActive = active_;
    active_ = true;
    archive_ = archive;
    if (!wasActive) emit changed(true);
}

void ZipSession::leave() {
    if (!active_) return;
    active_ = false;
    deleteTempFile();
    reader_.reset();
    archive_.clear();
    emit changed(false);
}

QString ZipSession::extract(const PlaylistEntry& entry) {
    // Only one member is ever on disk: the one of an attempt that failed goes too.
    deleteTempFile();
    tempFile_ = entry.path;
    const zip::Member* found =
        reader_ && entry.member >= 0 ? reader_->member(static_cast<std::uint64_t>(entry.member)) : nullptr;
    if (found == nullptr) return QStringLiteral("it is not a member of the open archive");
    if (folder_.isEmpty()) return QStringLiteral("the player has no private temporary folder");
    const zip::Member& member = *found;
    const BusyCursor busy;
    const std::string why = reader_->extract(member, encodePath(folder_).toStdString(), limits_);
    if (!why.empty()) {
        qCDebug(lcZip) << "member" << entry.displayName << "not extracted:" << why.c_str();
        return QString::fromStdString(why);
    }
    qCDebug(lcZip) << "member" << entry.displayName << "extracted to" << entry.path;
    return {};
}

void ZipSession::deleteTempFile() {
    if (tempFile_.isEmpty()) return;
    // Only a file directly in the temporary folder is the player's to delete.
    if (!folder_.isEmpty() && folderOfPath(tempFile_) == folderWithSeparator(folder_)) QFile::remove(tempFile_);
    tempFile_.clear();
}

bool ZipSession::isLeftOver(const QString& fileName) {
    const std::string name = fileName.toStdString();
    return zip::isPartialName(name) || zip::isPlayableExtension(zip::lowerExtension(name));
}

bool ZipSession::refuseSummary() const {
    if (!active_) return false;
    MessageBoxes::show(QStringLiteral("Generate Summary"),
                       QStringLiteral("Cannot generate playlist summary in Zip mode."), BoxIcon::Information);
    return true;
}

}  // namespace vorlo
