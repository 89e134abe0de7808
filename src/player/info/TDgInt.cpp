#include "player/info/TDgInt.h"

#include "core/app/ErrorHandler.h"
#include "core/app/PlayerCore.h"
#include "core/filebox/FolderWalk.h"
#include "core/info/PlaylistSummary.h"
#include "media/MIDIPlayer.h"
#include "media/MediaSettings.h"
#include "player/app/CentreOnPlayer.h"
#include "player/app/ModalDialogs.h"
#include "player/info/TFormInfo.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

namespace vorlo {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 64;

}  // namespace

TDgInt::TDgInt(Job job, PlayerCore& core, QWidget* player, QStringList drives)
    : QDialog(player),
      job_(job),
      core_(core),
      player_(player),
      drives_(std::move(drives)),
      lblOnly_(new QLabel(this)),
      btnBegin_(new QPushButton(QStringLiteral("&Yes"), this)),
      btnEnd_(new QPushButton(QStringLiteral("&No"), this)) {
    setObjectName(QStringLiteral("DgInt"));
    // A fixed dialog border without border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);
    lblOnly_->setObjectName(QStringLiteral("LblOnly"));
    lblOnly_->setGeometry(8, 8, 393, 41);
    lblOnly_->setWordWrap(true);
    lblOnly_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btnBegin_->setObjectName(QStringLiteral("BtnBegin"));
    btnBegin_->setGeometry(ClientWidth / 2 - kButtonWidth - 4, kButtonTop, kButtonWidth, kButtonHeight);
    btnBegin_->setDefault(true);
    btnEnd_->setObjectName(QStringLiteral("BtnEnd"));
    btnEnd_->setGeometry(ClientWidth / 2 + 4, kButtonTop, kButtonWidth, kButtonHeight);
    connect(btnBegin_, &QPushButton::clicked, this, ErrorHandler::guard([this] { BtnBeginClick(); }));
    connect(btnEnd_, &QPushButton::clicked, this, [this] { BtnEndClick(); });

    if (job_ == Job::Summary) {
        setWindowTitle(QStringLiteral("Generate PlayList Summary"));
        lblOnly_->setText(QStringLiteral(
            "Ready to sum up Total Play Time and generate Playlist Summary, this may take several minutes if there "
            "are hundreds of files in the playlist.  Do you still want to proceed?"));
    } else {
        setWindowTitle(QStringLiteral("Search Files"));
        lblOnly_->setText(QStringLiteral(
            "MIDI Vorlo can search for all supported files and add them to the playlist.  Depend on the "
            "configuration of your computer system, this may take several minutes, but you can cancel the "
            "operation at any time you want.  Begin the search now?"));
    }
    CentreOnPlayer(*this, player_);
}

TDgInt::~TDgInt() = default;

void TDgInt::BtnBeginClick() {
    if (running_) return;
    running_ = true;
    StopRequested = false;
    btnBegin_->hide();
    btnEnd_->hide();
    btnEnd_->setText(QStringLiteral("&Cancel"));
    btnEnd_->move((width() - btnEnd_->width()) / 2, btnEnd_->y());
    btnEnd_->show();
    btnEnd_->setFocus();
    lblOnly_->setText(QStringLiteral("Please wait...\rPress Cancel button to stop..."));
    if (job_ == Job::Summary)
        startSummary();
    else
        startSearch();
}

void TDgInt::BtnEndClick() {
    if (!running_) {
        // "&No" before the job, "&OK" after the search.
        reject();
        return;
    }
    StopRequested = true;
    if (summary_) summary_->cancel();
    if (walk_) walk_->cancel();
}

void TDgInt::reject() {
    if (running_) {
        BtnEndClick();
        return;
    }
    QDialog::reject();
}

void TDgInt::startSummary() {
    const media::MediaSettings settings = core_.device().settings();
    // Video is the one kind measured by a device: a second one, so the song that plays is left alone.
    auto videoDevice = std::make_shared<media::MIDIPlayer>(settings);
    summary_ = new SummaryJob(
        media::resolvedCdDevice(settings),
        [videoDevice, probe = EntryLengths::throughDevice(*videoDevice)](const QString& path) { return probe(path); },
        this);
    connect(summary_, &SummaryJob::progress, this, [this](int index, int count) {
        setWindowTitle(QStringLiteral("File %1 of Total %2").arg(index + 1).arg(count));
    });
    connect(summary_, &SummaryJob::finished, this,
            ErrorHandler::guard([this](bool cancelled) { summaryFinished(cancelled); }));
    summary_->start(core_.playlist().PathList());
}

void TDgInt::summaryFinished(bool cancelled) {
    running_ = false;
    if (cancelled || StopRequested) {
        reject();
        return;
    }
    const ListFileNames& names = core_.fileNames();
    const QStringList lines =
        SummaryReport::lines(names.playlistHasFile() ? names.saveFileName : QString(), summary_->rows());
    hide();
    TFormInfo report(this);
    report.setReport(QStringLiteral("Playlist Summary"), lines);
    report.centreOver(player_);
    report_ = &report;
    emit reportShown(&report);
    ModalDialogs::exec(report);
    report_ = nullptr;
    accept();
}

void TDgInt::startSearch() {
    countBefore_ = core_.playlist().count();
    walk_ = new FolderWalkJob(this);
    connect(walk_, &FolderWalkJob::found, this,
            ErrorHandler::guard([this](const std::vector<FoundFile>& files) { core_.editor().appendFound(files); }));
    connect(walk_, &FolderWalkJob::driveStarted, this,
            [this](const QString& drive) { setWindowTitle(QStringLiteral("Searh Drive ") + drive); });
    connect(walk_, &FolderWalkJob::finished, this, [this](bool) { searchFinished(); });
    walk_->startDrives(drives_);
}

void TDgInt::searchFinished() {
    running_ = false;
    StopRequested = false;
    ErrorHandler::run([this] { core_.editor().folderAdded(countBefore_); });
    lblOnly_->setText(QString::number(core_.playlist().count() - countBefore_) +
                      QStringLiteral(" files has been added to the playlist."));
    setWindowTitle(QStringLiteral("File Search Complete"));
    btnEnd_->setText(QStringLiteral("&OK"));
}

void runPlaylistSummary(PlayerCore& core, QWidget* player) {
    if (core.zip().refuseSummary()) return;
    TDgInt dialog(TDgInt::Job::Summary, core, player);
    ModalDialogs::exec(dialog);
}

void runDriveSearch(PlayerCore& core, QWidget* player, const QStringList& drives) {
    if (!core.editor().mayAddFolder()) return;
    TDgInt dialog(TDgInt::Job::Search, core, player, drives);
    ModalDialogs::exec(dialog);
}

}  // namespace vorlo
