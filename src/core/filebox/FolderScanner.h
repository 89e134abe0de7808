#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace vorlo {

// Lists the files of one folder that match a set of name patterns, on a thread of its own, so that a folder
// of many thousand files never holds up the window. Each request carries a generation number; a request
// that a newer one has superseded stops early and its result is never delivered.
class FolderScanner : public QObject {
    Q_OBJECT
public:
    explicit FolderScanner(std::shared_ptr<std::atomic<quint64>> latestGeneration);

    // The names, sorted as the file list shows them: letters without regard to case, ties by exact text.
    static QStringList matchingFiles(const QString& folder, const QStringList& patterns,
                                     const std::function<bool()>& superseded = {});
    // The folders in `folder` (links to folders included, hidden ones left out), sorted the same way. Both read the
    // folder by its bytes: a name that is no UTF-8 comes out as decodePath gives it (os/NativePath.h).
    static QStringList subfolders(const QString& folder);
    // Whether `path` is a folder (or a link to one), by the bytes of its name.
    static bool isFolder(const QString& path);

public slots:
    void scan(quint64 generation, const QString& folder, const QStringList& patterns);

signals:
    void scanned(quint64 generation, const QStringList& names);

private:
    std::shared_ptr<std::atomic<quint64>> latest_;
};

}  // namespace vorlo
