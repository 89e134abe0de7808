#pragma once

#include <QWidget>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorlo {

class SetupSteps;

// The first window of setup, for the whole run: the choice between installing and uninstalling, then, after an
// install, the finish page with its two boxes. Button1 is Continue, later Finish.
class TFormTitle : public QWidget {
    Q_OBJECT
public:
    // `sourceFolder`: the distribution folder the product is copied from.
    TFormTitle(SetupSteps& steps, QString sourceFolder, QWidget* parent = nullptr);

    // Ends setup with `code` from anywhere, also from inside a dialog; the rest of a handler is then skipped.
    static void endApplication(int code);
    static bool ending();

    // Runs Completion with the folders the dialogs gave: re-lays the window as the finish page.
    void completeInstall(const QString& programFolder, const QString& groupFolder);

    QRadioButton* radioUninstall() const { return radioUninstall_; }
    QPushButton* button1() const { return button1_; }

protected:
    // A plain window has no default or cancel button of its own: Enter presses Continue (or Finish), or the
    // push button that has the focus; Escape presses Quit while it is shown.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void continueClicked();
    void finishClicked();
    void uninstallClicked();

    SetupSteps& steps_;
    QString source_;
    QString programFolder_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* label4_;
    QRadioButton* radioInstall_;
    QRadioButton* radioUninstall_;
    QCheckBox* checkReadMe_;
    QCheckBox* checkLaunch_;
    QPushButton* button1_;
    QPushButton* button2_;
};

}  // namespace vorlo
