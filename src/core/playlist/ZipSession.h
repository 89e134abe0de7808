#pragma once

#include <QObject>
#include <QString>

namespace vorlo {

// Zip mode: the playlist shows the members of an archive instead of files. This is its one owner; every
// question "are we in zip mode?" reads active(). While it is active nothing can be added to the playlist, list
// files are not saved or asked about, and file commands act only on the member on disk. User-interface thread.
class ZipSession : public QObject {
    Q_OBJECT
public:
    explicit ZipSession(QObject* parent = nullptr);

    bool active() const { return active_; }
    // The archive whose members the playlist shows; empty while zip mode is off.
    QString archive() const { return archive_; }

    // Zip mode begins for `archive`; entering again replaces the archive.
    void enter(const QString& archive);
    // Zip mode ends; nothing happens when it is off.
    void leave();

signals:
    void changed(bool active);

private:
    bool active_ = false;
    QString archive_;
};

}  // namespace vorlo
