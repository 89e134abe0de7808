#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlo {

// The folders the copy and move dialog was last used with, newest first, at most 15, kept in "folder.ini" of the
// program folder: one folder a line, each line ended by CR LF, the file replaced whole when it is written.
class FolderHistory {
public:
    static constexpr int kMaxFolders = 15;
    // A folder's path is at most 4096 bytes with its line end: no more is ever read of the file.
    static constexpr qsizetype kMaxReadBytes = kMaxFolders * 4098;

    // "folder.ini" of the program folder; empty when the program folder is unknown (nothing is then kept).
    static QString fileIn(const QString& programFolder);

    // Reads the file when it exists; a file that cannot be read (or is no regular file) leaves the history empty.
    void load(const QString& file);
    // The folders in the head of a folder.ini; `cut` says the file held more than the head.
    static QStringList parse(const QByteArray& head, bool cut);
    // Writes the whole history; throws EListFileError when it cannot be written (the old file stays as it was).
    void save(const QString& file) const;

    // The folder just used goes to the head. A folder already in the history moves there rather than standing
    // twice, and only a new folder pushes the oldest one out.
    void add(const QString& folder);

    const QStringList& folders() const { return folders_; }

private:
    QStringList folders_;
};

}  // namespace vorlo
