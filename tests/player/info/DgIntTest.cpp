// The summary and search dialog: its question, the running job with Cancel, the summary's report in the
// information window, a cancel that shows nothing and leaves the song playing, and the search's result text.
#include "core/app/PlayerCore.h"
#include "player/app/PlayerActions.h"
#include "player/app/TFormPlayer.h"
#include "player/filebox/FileBox.h"
#include "player/info/TDgInt.h"
#include "player/info/TFormInfo.h"
#include "player/playlist/PlaylistPanel.h"

#include "CoreRig.h"
#include "MediaFixtures.h"
#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class DgIntTest : public test::PlayerSandbox {
protected:
    QString song(const QString& name, int lengthMs) {
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).path());
        EXPECT_TRUE(vorlo::testing::writeMidiSong(file, lengthMs));
        return file;
    }
    // Lets the job run until `done` holds (with a limit that keeps a fault from hanging).
    static bool runUntil(const std::function<bool()>& done) {
        QElapsedTimer limit;
        limit.start();
        while (!done() && limit.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
};

TEST_F(DgIntTest, TheSummaryAsksThenShowsTheReportOfTheNamedList) {
    test::CoreRig rig;
    const QString first = song("first.mid", 187'000);
    const QString missing = path("missing.mid");
    const QString second = song("second.mid", 60'900);
    rig.fill({first, missing, second});
    rig.core().fileNames().saveFileName = path("evening.mpl");
    QWidget player;

    QStringList captions;
    QStringList report;
    QString reportCaption;
    boxes_.expectDialog("DgInt", [&](QObject& object) {
        auto& dialog = static_cast<TDgInt&>(object);
        EXPECT_EQ(dialog.windowTitle(), "Generate PlayList Summary");
        EXPECT_TRUE(dialog.label()->text().startsWith("Ready to sum up Total Play Time"));
        EXPECT_EQ(dialog.beginButton()->text(), "&Yes");
        EXPECT_EQ(dialog.endButton()->text(), "&No");
        EXPECT_EQ(dialog.size(), QSize(TDgInt::ClientWidth, TDgInt::ClientHeight));
        QObject::connect(&dialog, &QWidget::windowTitleChanged, &dialog,
                         [&](const QString& title) { captions << title; });
        boxes_.expectDialog("FormInfo", [&](QObject& info) {
            report = static_cast<TFormInfo&>(info).text().split('\n');
            reportCaption = static_cast<QWidget&>(info).windowTitle();
            return int(QDialog::Accepted);
        });
        dialog.beginButton()->click();
        EXPECT_EQ(dialog.endButton()->text(), "&Cancel");
        EXPECT_TRUE(dialog.beginButton()->isHidden());
        EXPECT_EQ(dialog.label()->text(), "Please wait...\rPress Cancel button to stop...");
        EXPECT_TRUE(runUntil([&] { return dialog.result() == QDialog::Accepted; }));
        return dialog.result();
    });
    runPlaylistSummary(rig.core(), &player);

    EXPECT_EQ(captions.mid(0, 3), (QStringList{"File 1 of Total 3", "File 2 of Total 3", "File 3 of Total 3"}));
    EXPECT_EQ(reportCaption, "Playlist Summary");
    const QStringList expected{"Summary of PlayList " + path("evening.mpl"),
                               "Total files in this playlist:  3",
                               "Total Play Time regardless wait time and file open delay:  00:04:07",
                               "",
                               "File List:",
                               "NO\tTime\tPath and Name",
                               "1\t03:07\t" + first,
                               "2\tError!\t" + missing,
                               "3\t01:00\t" + second};
    EXPECT_EQ(report, expected);
}

TEST_F(DgIntTest, CancelShowsNoReportAndTheSongPlaysOnWhereItWas) {
    test::CoreRig rig;
    QStringList songs;
    for (int index = 0; index < 300; ++index) songs << song(QString("many/s%1.mid").arg(index), 3000);
    rig.fill(songs);
    rig.engine().entriesArrived();
    rig.engine().SpdBtnPlayClick();
    vorlo::testing::runFor(rig.device(), 500);
    ASSERT_EQ(rig.device().mode(), media::Mode::Playing);
    const std::int64_t position = rig.device().position();
    QWidget player;

    boxes_.expectDialog("DgInt", [&](QObject& object) {
        auto& dialog = static_cast<TDgInt&>(object);
        dialog.beginButton()->click();
        dialog.endButton()->click();  // "&Cancel"
        EXPECT_TRUE(runUntil([&] { return dialog.result() == QDialog::Rejected && !dialog.isVisible(); }));
        return dialog.result();
    });
    // No report window is expected: one would fail the test.
    runPlaylistSummary(rig.core(), &player);
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(rig.device().position(), position);
    EXPECT_EQ(rig.state().openFile, songs[0]);

    // "&No" does nothing at all.
    boxes_.expectDialog("DgInt", [&](QObject& object) {
        static_cast<TDgInt&>(object).endButton()->click();
        return static_cast<TDgInt&>(object).result();
    });
    runPlaylistSummary(rig.core(), &player);
}

TEST_F(DgIntTest, TheSearchAddsEveryPlayableFileOfTheDrivesAndSaysHowMany) {
    song("c/one.mid", 400);
    song("c/sub/two.kar", 400);
    song("d/three.mid", 400);
    QFile text(path("d/readme.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    QWidget player;

    QStringList captions;
    boxes_.expectDialog("DgInt", [&](QObject& object) {
        auto& dialog = static_cast<TDgInt&>(object);
        EXPECT_EQ(dialog.windowTitle(), "Search Files");
        EXPECT_TRUE(dialog.label()->text().startsWith("MIDI Vorlo can search for all supported files"));
        QObject::connect(&dialog, &QWidget::windowTitleChanged, &dialog,
                         [&](const QString& title) { captions << title; });
        dialog.beginButton()->click();
        EXPECT_TRUE(runUntil([&] { return dialog.endButton()->text() == "&OK"; }));
        EXPECT_EQ(dialog.label()->text(), "3 files has been added to the playlist.");
        EXPECT_TRUE(dialog.endButton()->isVisible() || !dialog.isVisible());
        dialog.endButton()->click();
        return dialog.result();
    });
    runDriveSearch(rig.core(), &player, {path("c"), path("d")});
    EXPECT_EQ(captions, (QStringList{"Searh Drive " + path("c"), "Searh Drive " + path("d"), "File Search Complete"}));
    ASSERT_EQ(rig.playlist().count(), 3);
    EXPECT_EQ(rig.playlist().path(2), path("d/three.mid"));
}

TEST_F(DgIntTest, TheWindowOffersBothCommandsInItsMenus) {
    storeOptions();
    TFormPlayer form(path("temp"), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    QAction* search = form.playerActions().searchDrives;
    EXPECT_EQ(search->text(), "Search All Drives...");
    EXPECT_EQ(search->objectName(), "AutoSearch");
    QAction* summary = form.playlistPanel().actions().summary;
    EXPECT_EQ(summary->text(), "Pla&ylist Summary...");
    EXPECT_EQ(summary->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    const auto answerNo = [](const QString& title) {
        return [title](QObject& object) {
            auto& dialog = static_cast<TDgInt&>(object);
            EXPECT_EQ(dialog.windowTitle(), title);
            dialog.endButton()->click();
            return dialog.result();
        };
    };
    boxes_.expectDialog("DgInt", answerNo("Search Files"));
    search->trigger();
    // The summary needs entries to sum up.
    EXPECT_FALSE(summary->isEnabled());
    form.core().editor().addListedPaths({song("one.mid", 400)});
    ASSERT_TRUE(summary->isEnabled());
    boxes_.expectDialog("DgInt", answerNo("Generate PlayList Summary"));
    summary->trigger();
    EXPECT_EQ(boxes_.pending(), 0u);
    boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question, BoxButtons::YesNo,
                  BoxButton::No);
}

}  // namespace
