#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace vorlo {

class SetupSteps;

// "Create MIDI Vorlo Program Group": the submenu of the applications menu that gets the launchers, typed or
// picked among the existing groups. Continue creates it (SetupSteps::createGroup); the dialog ends with the group
// folder, or with none when it could not be made. Quit ends setup.
class TFormGroup : public QDialog {
    Q_OBJECT
public:
    TFormGroup(SetupSteps& steps, QString programFolder, QWidget* parent = nullptr);

    QString groupFolder() const { return groupFolder_; }
    QLineEdit* edit() const { return edit_; }
    QListWidget* listBox() const { return list_; }

private:
    void continueClicked();

    SetupSteps& steps_;
    QString programFolder_;
    QString groupFolder_;
    QLineEdit* edit_;
    QListWidget* list_;
};

}  // namespace vorlo
