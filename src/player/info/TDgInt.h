#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QPushButton;

namespace vorlo {

class FolderWalkJob;
class PlayerCore;
class SummaryJob;

// The small dialog of the two long jobs, the playlist summary and the drive search: first a question ("&Yes",
// "&No"), then the running job with one "&Cancel" button and its progress in the caption, then (search only) the
// result with "&OK". The job itself runs on a thread of its own; the window stays responsive and Cancel takes
// effect at the job's next file. User-interface thread.
class TDgInt : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 409;
    static constexpr int ClientHeight = 98;

    enum class Job { Summary, Search };

    // `drives`: the folders the search walks, in order (the file box's drives); unused by the summary.
    TDgInt(Job job, PlayerCore& core, QWidget* player, QStringList drives = {});
    ~TDgInt() override;

    QLabel* label() const { return lblOnly_; }
    QPushButton* beginButton() const { return btnBegin_; }
    QPushButton* endButton() const { return btnEnd_; }
    // The summary's report window while it is shown (for tests); null otherwise.
    QDialog* report() const { return report_; }

    void BtnBeginClick();
    void BtnEndClick();
    // Escape is the "&Cancel" button while a job runs.
    void reject() override;

signals:
    // The summary's report is about to be shown modally (tests close it from here).
    void reportShown(QDialog* report);

private:
    void startSummary();
    void summaryFinished(bool cancelled);
    void startSearch();
    void searchFinished();

    Job job_;
    PlayerCore& core_;
    QWidget* player_;
    QStringList drives_;
    QLabel* lblOnly_;
    QPushButton* btnBegin_;
    QPushButton* btnEnd_;
    bool running_ = false;
    bool StopRequested = false;
    SummaryJob* summary_ = nullptr;
    FolderWalkJob* walk_ = nullptr;
    int countBefore_ = 0;
    QDialog* report_ = nullptr;
};

// "Pla&ylist Summary...": refused in zip mode, otherwise the dialog, modal over the player.
void runPlaylistSummary(PlayerCore& core, QWidget* player);
// "Search All Drives...": the dialog, modal over the player; the search walks `drives` in order.
void runDriveSearch(PlayerCore& core, QWidget* player, const QStringList& drives);

}  // namespace vorlo
