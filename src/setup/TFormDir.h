#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QKeyEvent;
class QPushButton;
class QLineEdit;
class QTreeView;

namespace vorlo {

class SetupSteps;

// "Create Program Files Folder": the program folder, typed or chosen among the user's folders and the mounted
// file systems. Continue creates it and copies the product (SetupSteps::copyFiles); the dialog then ends
// accepted. Quit ends setup.
class TFormDir : public QDialog {
    Q_OBJECT
public:
    TFormDir(SetupSteps& steps, QString sourceFolder, QWidget* parent = nullptr);

    QString programFolder() const { return programFolder_; }
    // The folder the list shows as selected changed (DirectoryListBoxChange).
    void selectFolder(const QString& folder);
    QLineEdit* dirEdit() const { return dirEdit_; }

protected:
    // Escape presses Quit, the cancel button, which ends setup (a plain dialog would only close).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void driveChanged(int index);
    void continueClicked();

    SetupSteps& steps_;
    QString source_;
    QString programFolder_;
    QLineEdit* dirEdit_;
    QTreeView* directoryList_;
    QFileSystemModel* model_;
    QComboBox* drives_;
    QPushButton* quit_;
};

}  // namespace vorlo
