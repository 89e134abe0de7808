#pragma once

#include "core/playlist/ListFileNames.h"
#include "core/playlist/ListPrompts.h"

#include <QString>

#include <optional>

class QWidget;

namespace vorlo {

// The player's way of asking for list files and showing the missing-files report: the two file dialogs that
// name list files, "OpenDialog" and "SaveDialog", and the information window as the report viewer, each
// created for its use over the main window and run through ModalDialogs (so tests can fill them in). Each
// dialog starts in its own folder with its file name in the name field ("*.mpl" included, which only filters
// the listing: it is never accepted as a name).
class ListDialogs : public ListPrompts {
public:
    static inline const QString NoFile = ListFileNames::NoFile;

    // `window` is the main window: the dialogs' parent and the window the report is centred over.
    explicit ListDialogs(QWidget* window) : window_(window) {}

    std::optional<QString> chooseListToOpen(const QString& title, const QString& fileName,
                                            const QString& folder) override;
    std::optional<QString> chooseListToSave(const QString& title, const QString& fileName,
                                            const QString& folder) override;
    void showReport(const QString& caption, const QStringList& lines) override;

    // The open dialog lent to the configuration dialog's Browse: it asks for a MIDI reset file ("Select MIDI
    // Reset File", "*.mid"), starting in `folder`. What the list dialogs remember is not touched, so the next
    // list opened finds the dialog as it was.
    std::optional<QString> chooseResetFile(const QString& folder);

private:
    QWidget* window_;
};

}  // namespace vorlo
