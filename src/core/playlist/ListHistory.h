#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace vorlo {

// The list files opened or saved, most recent first, and the items of the "&Recent Lists" menu. While a list is
// open the menu holds the history without the open list; the two lists are kept side by side because each step
// below changes them in its own way.
class ListHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 15;

    explicit ListHistory(QObject* parent = nullptr);

    const QStringList& entries() const { return history_; }
    const QStringList& menuItems() const { return menu_; }
    bool isEmpty() const { return history_.isEmpty(); }

    // `PushHistory`: the list `path` is being opened (or has been saved under a new name). The list that was
    // open before becomes a recent list; `path` moves to the top; the history keeps 15 entries at most.
    void PushHistory(const QString& path);

    // The list was closed: it becomes the first recent list (unless it is already).
    void listClosed();

    // At start-up an auto-loaded list is the open one: its menu item goes when it heads the menu.
    void takeOpenedFromMenu(const QString& path);

    // A recent item whose file has gone: that item and its history entry are removed, nothing else.
    void forgetMenuItem(int index);

    // Reading and writing "History.ini" (a list file's layout). Load replaces history and menu with the file's
    // first 15 lines; when there is no such file, `fallback` (a list name other than "*.mpl") becomes the only
    // entry. Only the head of the file is read (kMaxReadBytes), so a huge or endless file costs no more than a
    // small one; anything but a regular file is refused. Throws EListFileError naming History.ini.
    void load(const QString& historyFile, const QString& fallback);
    // Writes the history unless it is empty, never through a link (SafeSave::Links::Refuse); throws
    // EListFileError naming History.ini when the file cannot be written.
    void save(const QString& historyFile) const;

    // The most a History.ini may hold that is used: 15 full-length paths with their line ends.
    static constexpr qsizetype kMaxReadBytes = kMaxEntries * (4096 + 2);
    // The entries held by the head of a History.ini: at most 15 lines. `cut` says the head was cut short at
    // kMaxReadBytes, so a last line without its line end is incomplete and left out.
    static QStringList parse(const QByteArray& head, bool cut);

signals:
    void changed();

private:
    void recentFirst();

    QStringList history_;
    QStringList menu_;
};

}  // namespace vorlo
