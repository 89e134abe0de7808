#include "ListsFixture.h"

#include "MediaFixtures.h"
#include "TestMedia.h"

#include <QFile>
#include <QFileDialog>

namespace vorlo::test {

void ListsFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    rig = std::make_unique<CoreRig>();
    rig->modes.autoPlay = false;
    lists = &rig->core().lists();
    dialogs = std::make_unique<ListDialogs>(nullptr);
    lists->setPrompts(dialogs.get());
    panel = std::make_unique<PlaylistPanel>(rig->core().editor());
    recentMenu =
        std::make_unique<RecentListsMenu>(lists->history(), [this](int index) { lists->RecentListClick(index); });
    PlaybackEngine& engine = rig->engine();
    QObject::connect(&engine, &PlaybackEngine::captionChanged, [this](const QString& text) { caption = text; });
    QObject::connect(&engine, &PlaybackEngine::stateChanged,
                     [this, last = QString()](const TransportState& state) mutable {
                         if (!state.openFile.isEmpty() && state.openFile != last) ++opened;
                         last = state.openFile;
                     });
}

void ListsFixture::TearDown() {
    recentMenu.reset();
    panel.reset();
    rig.reset();
}

QString ListsFixture::song(const QString& name) const {
    const QString file = path(name);
    if (name.endsWith(QLatin1String(".wav")))
        EXPECT_TRUE(testing::writeWave(file, 0x0002, 2, 44100, 4410, testing::testTone));  // 16-bit PCM
    else
        EXPECT_TRUE(writeSong(file));
    return file;
}

QString ListsFixture::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QString ListsFixture::writeList(const QString& name, const QStringList& paths) const {
    return writeBytes(name, crlf(paths));
}

QByteArray ListsFixture::readBytes(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
}

void ListsFixture::chooseFile(const QString& dialogName, const QString& title, const QString& fileName) {
    boxes.expectDialog(dialogName, [title, fileName](QObject& object) {
        auto& dialog = dynamic_cast<QDialog&>(object);
        EXPECT_EQ(dialog.windowTitle().toStdString(), title.toStdString());
        // What a user types into the name box: the dialog adds its default extension to a bare name.
        dynamic_cast<QFileDialog&>(dialog).selectFile(fileName);
        return int(QDialog::Accepted);
    });
}

void ListsFixture::openList(const QString& fileName) {
    chooseFile(QStringLiteral("OpenDialog"), QStringLiteral("Open PlayList"), fileName);
    lists->FileOpenListClick();
}

void ListsFixture::addSongs(const QStringList& names) {
    std::vector<FileBoxItem> items;
    for (const QString& name : names) {
        song(name);
        items.push_back({name, name});
    }
    panel->addSelectedFiles(dir.path(), items);
}

}  // namespace vorlo::test
