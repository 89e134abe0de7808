// A FIFO, folder or device named like a song or a list, as a start or a second start hands it over: refused with a
// message, never waited on. Opening a FIFO for reading would wait for a writer for ever.
#include "CoreRig.h"
#include "ScriptedMessageBoxes.h"
#include "core/app/CommandLine.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/PlaylistEditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vorlo;

namespace {

class SpecialFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ::alarm(120);  // an open that blocks fails the run instead of hanging it
    }
    void TearDown() override { ::alarm(0); }
    QString fifo(const QString& name) {
        const QString path = dir_.filePath(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }
    QTemporaryDir dir_;
    test::ScriptedMessageBoxes boxes_;
};

TEST_F(SpecialFiles, AFifoNamedLikeAMediumIsNeverOpened) {
    for (const char* name : {"pipe.mid", "pipe.wav", "pipe.avi", "pipe.rmi"}) {
        const QString path = fifo(name);
        // The form of a second start's hand-over finds it as a medium ...
        const HandOver handOver = HandOver::resolve("/play /close " + path, QString());
        ASSERT_EQ(handOver.kind, HandOver::Kind::Media) << name;
        // ... and the device refuses it.
        test::CoreRig rig;
        rig.modes.autoPlay = true;
        boxes_.expect("Error!", "Cannot play any file in this playlist.", BoxIcon::Error, BoxButtons::Ok,
                      BoxButton::Ok);
        rig.engine().startWithFile(handOver.path);
        test::CoreRig::settle();
        EXPECT_FALSE(rig.device().isOpen()) << name;
        EXPECT_TRUE(rig.playlist().isEmpty()) << name;
        EXPECT_EQ(boxes_.pending(), 0u) << name;

        media::MIDIPlayer device;
        device.setFileName(path);
        try {
            device.open();
            ADD_FAILURE() << name << " was opened";
        } catch (const std::exception& error) {
            EXPECT_EQ(std::string(error.what()), "\"" + path.toStdString() + "\" is not a regular file.");
        }
    }
}

TEST_F(SpecialFiles, AFifoNamedLikeAListIsRefusedWithAMessage) {
    const QString list = fifo("pipe.mpl");
    EXPECT_EQ(HandOver::resolve(list, QString()).kind, HandOver::Kind::List);
    try {
        ListFile::read(list);
        ADD_FAILURE() << "the FIFO was read";
    } catch (const EListFileError& error) {
        EXPECT_EQ(QString::fromStdString(error.what()),
                  "Cannot read the playlist file " + list + ": it is not a regular file.");
    }
    // Dropped on the playlist, it is refused the same way (the command's error boundary shows the message).
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    EXPECT_THROW(rig.core().editor().DropWatchFilesDropped({list}), EListFileError);
    EXPECT_TRUE(rig.playlist().isEmpty());
}

}  // namespace
