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

public slots:
    void scan(quint64 generation, const QString& folder, const QStringList& patterns);

signals:
    void scanned(quint64 generation, const QStringList& names);

private:
    std::shared_ptr<std::atomic<quint64>> latest_;
};

}  // namespace vorlo
