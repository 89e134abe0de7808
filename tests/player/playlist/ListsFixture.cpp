#include "ListsFixture.h"

#include "player/playlist/ListMenuActions.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>

namespace vorlo::test {

void ListsFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    panel = std::make_unique<PlaylistPanel>();
    QObject::connect(panel.get(), &PlaylistPanel::commandEnabled,
                     [this](ListCommand command, bool on) { commands[command] = on; });
    hooks.setCommandEnabled = [this](ListCommand command, bool on) { commands[command] = on; };
    hooks.setCloseListEnabled = [this](bool on) { closeListEnabled = on; };
    hooks.setCaption = [this](const QString& text) { caption = text; };
    hooks.openCurrentEntry = [this] {
        ++opened;
        return true;
    };
    lists = std::make_unique<ListCommands>(*panel, hooks, nullptr);
}

QString ListsFixture::song(const QString& name) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return file.fileName();
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
    lists->menuActions().openList->trigger();
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
