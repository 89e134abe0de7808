// The information window: the file report of a MIDI file, copying, zooming, and the entry command.
#include "ListsFixture.h"
#include "core/info/FileReport.h"
#include "core/playlist/Playlist.h"
#include "midi/SmfWriter.h"
#include "os/NativePath.h"
#include "player/info/TFormInfo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace vorlo::test {
namespace {

class FormInfo : public ::testing::Test {
protected:
    QString write(const QString& name, const midi::SmfWriter& song) {
        const QString file = dir.path() + "/" + name;
        EXPECT_TRUE(song.writeTo(file.toStdString()));
        return file;
    }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.path() + "/" + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QStringList head(const QString& file) {
        const QFileInfo info(file);
        return {"Path:\t" + file, "Size:\t" + FileReport::kilobytesText(info.size()) + " KB",
                "Date:\t" + FileReport::dateText(info.lastModified()), ""};
    }

    QTemporaryDir dir;
};

TEST_F(FormInfo, SizesAreCutTwoDigitsAfterThePoint) {
    EXPECT_EQ(FileReport::kilobytesText(102400), "100");
    EXPECT_EQ(FileReport::kilobytesText(1023), "0.99");
    EXPECT_EQ(FileReport::kilobytesText(1536), "1.5");
    EXPECT_EQ(FileReport::kilobytesText(1000), "0.97");
    EXPECT_EQ(FileReport::kilobytesText(0), "0");
}

TEST_F(FormInfo, AFormatOneFileShowsItsTypeTracksAndTitleUpToTheFirstOtherEvent) {
    midi::SmfWriter song(1, 96);
    midi::TrackWriter& first = song.addTrack();
    first.text(0, midi::MetaType::TrackName, "Song").tempo(0, 400000).text(0, midi::MetaType::Text, "hidden");
    for (int i = 1; i < 17; ++i) song.addTrack().note(0, 96, 0, 60, 100);
    const QString file = write("Song.MID", song);

    const FileReport report = FileReport::build(file, 2, 12);
    EXPECT_EQ(report.lines, head(file) + QStringList({"Type:\tMIDI Format 1", "Track:\t17", "Title:\tSong"}));
    EXPECT_EQ(report.caption, "Information - File 3 of 12 Files");
}

TEST_F(FormInfo, LeadingTextsAreShownInFileOrder) {
    midi::SmfWriter song(0, 96);
    song.addTrack()
        .text(0, midi::MetaType::TrackName, "Canon")
        .text(0, midi::MetaType::Copyright, "(c) Nobody")
        .text(0, midi::MetaType::Text, "first words")
        .text(0, midi::MetaType::TrackName, "in D")
        .text(0, midi::MetaType::Text, "more words")
        .note(0, 96, 0, 62, 90)
        .text(96, midi::MetaType::Text, "not a leading text");
    const QString file = write("canon.kar", song);

    const FileReport report = FileReport::build(file, 0, 1);
    EXPECT_EQ(report.lines,
              head(file) + QStringList({"Type:\tMIDI Format 0", "Track:\t1", "Title:\tCanon", "(c) Nobody", "",
                                        "Other Information:", "first words", "Subtitle:\tin D", "more words"}));
    EXPECT_EQ(report.caption, "Information - File 1 of 1 File");
}

TEST_F(FormInfo, OtherFilesShowPathSizeAndDateOnly) {
    midi::SmfWriter song(0, 96);
    song.addTrack().note(0, 96, 0, 60, 100).text(96, midi::MetaType::TrackName, "late");
    const QString noTitle = write("plain.mid", song);
    EXPECT_EQ(FileReport::build(noTitle, 0, 2).lines,
              head(noTitle) + QStringList({"Type:\tMIDI Format 0", "Track:\t1"}));

    const QString rmi = write("song.rmi", song);
    EXPECT_EQ(FileReport::build(rmi, 0, 2).lines, head(rmi));
    // Not a MIDI file at all, truncated or empty: nothing is made up.
    for (const QByteArray& bytes : {QByteArray("RIFF....WAVEfmt "), QByteArray("MThd\0\0\0\6\0\1", 10), QByteArray()}) {
        const QString odd = write("odd.mid", bytes);
        EXPECT_EQ(FileReport::build(odd, 0, 2).lines, head(odd));
    }
    EXPECT_TRUE(FileReport::build(dir.path() + "/none.mid", 0, 1).lines.isEmpty());
}

TEST_F(FormInfo, AnEntryThatBecameAFifoGivesNoReportWithoutWaitingAndByteNamesAreRead) {
    // A FIFO has no writer here: opening it for reading would wait for ever.
    ::alarm(60);
    const QString fifo = dir.path() + "/piped.mid";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(FileReport::build(fifo, 0, 1).lines.isEmpty());
    ::alarm(0);

    // A name that is no UTF-8 is opened by its own bytes.
    midi::SmfWriter song(0, 96);
    song.addTrack().text(0, midi::MetaType::TrackName, "Caf\xc3\xa9").note(0, 96, 0, 60, 100);
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/caf\xe9.mid";
    ASSERT_TRUE(song.writeTo(bytes.toStdString()));
    const FileReport report = FileReport::build(decodePath(bytes), 0, 1);
    ASSERT_GE(report.lines.size(), 7);
    EXPECT_EQ(report.lines.at(4), "Type:\tMIDI Format 0");
    EXPECT_EQ(report.lines.last(), QStringLiteral("Title:\tCaf\u00e9"));
}

TEST_F(FormInfo, TheWindowZoomsBetweenEightAndTwentyFourPointsAndCopies) {
    TFormInfo info;
    EXPECT_EQ(info.textPointSize(), 8);
    for (int i = 0; i < 8; ++i) info.PopZoomInClick();
    EXPECT_EQ(info.textPointSize(), 24);
    QTest::keyClick(info.richEdit(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(info.textPointSize(), 24);
    QTest::keyClick(info.richEdit(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(info.textPointSize(), 22);
    for (int i = 0; i < 10; ++i) info.popupAction("PopZoomOut")->trigger();
    EXPECT_EQ(info.textPointSize(), 8);
    // Only the numeric keypad's plus key zooms.
    QTest::keyClick(info.richEdit(), Qt::Key_Plus);
    EXPECT_EQ(info.textPointSize(), 8);

    // Copy needs a selection; Copy All takes the whole report, tabs included, and leaves it selected.
    info.setReport("Summary", {"Path:\t/a b/c.mid", "", "Other"});
    info.PopupEditPopup();
    EXPECT_FALSE(info.popupAction("PopEditCopy")->isEnabled());

    QApplication::clipboard()->clear();
    info.findChild<QPushButton*>("BtInfoCopyAll")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "Path:\t/a b/c.mid\n\nOther");
    EXPECT_TRUE(info.richEdit()->textCursor().hasSelection());
    info.PopupEditPopup();
    EXPECT_TRUE(info.popupAction("PopEditCopy")->isEnabled());
    EXPECT_EQ(info.windowTitle(), "Summary");
}

TEST_F(FormInfo, TheEntryCommandShowsTheReportOrSaysWhyNot) {
    ScriptedMessageBoxes boxes;
    Playlist playlist;
    const QString file = write("one.wav", QByteArray(1536, '\0'));
    playlist.append({file, "one.wav", false});
    playlist.append({dir.path() + "/gone.mid", "gone.mid", false});

    boxes.expectDialog("FormInfo", [&](QObject& dialog) {
        auto& info = dynamic_cast<TFormInfo&>(dialog);
        EXPECT_EQ(info.windowTitle(), "Information - File 1 of 2 Files");
        EXPECT_EQ(info.text(), (head(file)).join('\n'));
        EXPECT_TRUE(info.text().contains("Size:\t1.5 KB"));
        return int(QDialog::Accepted);
    });
    showEntryInformation(nullptr, playlist, 0, false);

    boxes.expect("Error - Find File", "This file does not exist!", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    showEntryInformation(nullptr, playlist, 1, false);
    boxes.expect("Information - Find File",
                 "In Zip mode only the current playing file is extracted to the temporary directory.",
                 BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    showEntryInformation(nullptr, playlist, 1, true);
}

}  // namespace
}  // namespace vorlo::test
