#include "player/playlist/ListDialogs.h"

#include "core/app/MessageBoxes.h"
#include "player/app/ModalDialogs.h"
#include "player/info/TFormInfo.h"

#include <QFileDialog>
#include <QFileInfo>

namespace vorlo {

namespace {

const QString DefaultExtension = QStringLiteral("mpl");

// A name with wildcards ("*.mpl", which the dialogs start with) is a pattern, not a file.
bool namesNoFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() || name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// Accepting a pattern keeps the dialog open: the user has not named a list yet. Left to itself the open
// dialog would say that no file "*.mpl" exists, and the save dialog would hand that name over to be written.
class ListFileDialog : public QFileDialog {
public:
    ListFileDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title) {}

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.isEmpty() || namesNoFile(chosen.first())) return;
        QFileDialog::accept();
    }
};

std::optional<QString> runDialog(QFileDialog& dialog, const QString& fileName, const QString& initialFolder,
                                 const QString& defaultExtension = DefaultExtension) {
    // The dialogs are our own widgets, so that they look the same everywhere and tests can fill them in.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(defaultExtension);
    if (!initialFolder.isEmpty()) dialog.setDirectory(initialFolder);
    dialog.selectFile(fileName.isEmpty() ? ListDialogs::NoFile : fileName);
    if (ModalDialogs::exec(dialog) != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || namesNoFile(chosen.first())) return std::nullopt;
    return chosen.first();
}

}  // namespace

std::optional<QString> ListDialogs::chooseListToOpen(const QString& title, const QString& fileName,
                                                     const QString& folder) {
    ListFileDialog dialog(window_, title);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setNameFilter(QStringLiteral("Media PlayList File (*.mpl)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runDialog(dialog, fileName, folder);
}

std::optional<QString> ListDialogs::chooseListToSave(const QString& title, const QString& fileName,
                                                     const QString& folder) {
    ListFileDialog dialog(window_, title);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setNameFilter(QStringLiteral("Media PlayList File ( *.mpl)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Whether to overwrite is the player's own question, asked only where it matters.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return runDialog(dialog, fileName, folder);
}

std::optional<QString> ListDialogs::chooseResetFile(const QString& folder) {
    ListFileDialog dialog(window_, QStringLiteral("Select MIDI Reset File"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setNameFilter(QStringLiteral("MIDI Sequence files (*.mid)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runDialog(dialog, QStringLiteral("*.mid"), folder, QStringLiteral("mid"));
}

void ListDialogs::showReport(const QString& caption, const QStringList& lines) {
    TFormInfo report(window_);
    report.setReport(caption, lines);
    report.centreOver(window_);
    ModalDialogs::exec(report);
}

}  // namespace vorlo
