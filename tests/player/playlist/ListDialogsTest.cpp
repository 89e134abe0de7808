// The list dialogs' file name field: what it shows when each dialog opens, and a pattern is never taken as a name.
#include "ListsFixture.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

namespace vorlo::test {
namespace {

class ListDialogsTest : public ListsFixture {
protected:
    // The next dialog named `dialogName` is closed with Cancel; returns what its name field showed.
    std::shared_ptr<QString> nameShownBy(const QString& dialogName) {
        auto shown = std::make_shared<QString>(QStringLiteral("<not shown>"));
        boxes.expectDialog(dialogName, [shown](QObject& dialog) {
            auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            *shown = field ? field->text() : QStringLiteral("<no name field>");
            return int(QDialog::Rejected);
        });
        return shown;
    }
};

TEST_F(ListDialogsTest, BothDialogsShowStarMplUntilThePlaylistHasAFileAndThenItsName) {
    auto open = nameShownBy("OpenDialog");
    lists->FileOpenListClick();
    EXPECT_EQ(*open, "*.mpl");

    addSongs({"a.mid"});
    auto save = nameShownBy("SaveDialog");
    lists->FileSaveListClick();
    EXPECT_EQ(*save, "*.mpl");
    auto saveAs = nameShownBy("SaveDialog");
    lists->FileSaveListAsClick();
    EXPECT_EQ(*saveAs, "*.mpl");

    chooseFile("SaveDialog", "Save PlayList", path("mine.mpl"));
    lists->FileSaveListClick();
    ASSERT_EQ(lists->listFile(), path("mine.mpl"));
    saveAs = nameShownBy("SaveDialog");
    lists->FileSaveListAsClick();
    EXPECT_EQ(*saveAs, "mine.mpl");
    auto add = nameShownBy("OpenDialog");
    lists->FileAddListClick();
    EXPECT_EQ(*add, "mine.mpl");
}

TEST_F(ListDialogsTest, AcceptingThePatternKeepsTheDialogOpenAndWritesOrOpensNothing) {
    addSongs({"a.mid"});
    bool closed = true;
    boxes.expectDialog("SaveDialog", [&closed, this](QObject& object) {
        auto& dialog = dynamic_cast<QFileDialog&>(object);
        dialog.setDirectory(dir.path());
        dialog.selectFile("*.mpl");
        QMetaObject::invokeMethod(&dialog, "accept");  // Enter on the name as the dialog shows it
        closed = dialog.result() == QDialog::Accepted;
        // A script that insists gets nothing either: no file may be named after the pattern.
        return int(QDialog::Accepted);
    });
    lists->FileSaveListClick();
    EXPECT_FALSE(closed);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.mpl"}, QDir::Files), QStringList());
    EXPECT_EQ(lists->listFile(), "*.mpl");
    EXPECT_TRUE(panel->playlist().ListChanged());

    writeList("real.mpl", {song("b.mid")});
    boxes.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                 BoxButtons::YesNoCancel, BoxButton::No);
    chooseFile("OpenDialog", "Open PlayList", "*.mpl");
    lists->FileOpenListClick();
    EXPECT_EQ(playlistPaths(), QStringList{path("a.mid")});
}

}  // namespace
}  // namespace vorlo::test
