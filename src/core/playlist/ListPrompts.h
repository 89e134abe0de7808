#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vorlo {

// How the list commands ask the user for a list file and show the files a list names but that are missing.
// The player implements it with its file dialogs and its report window; tests with a script. Every call is
// modal and runs on the user-interface thread.
class ListPrompts {
public:
    virtual ~ListPrompts() = default;

    // The list file to read: `title` is "Open PlayList" or "Add Playlist"; the dialog starts with `fileName`
    // in `folder`. Nothing when the user cancelled.
    virtual std::optional<QString> chooseListToOpen(const QString& title, const QString& fileName,
                                                    const QString& folder) = 0;
    // The list file to write: `title` is "Save PlayList As", or "Save PlayList" for a list without a file.
    virtual std::optional<QString> chooseListToSave(const QString& title, const QString& fileName,
                                                    const QString& folder) = 0;
    // The read-only report of the missing files, one line each, with the caption given.
    virtual void showReport(const QString& caption, const QStringList& lines) = 0;
};

}  // namespace vorlo
