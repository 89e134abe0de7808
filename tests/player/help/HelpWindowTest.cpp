#include "ScriptedMessageBoxes.h"
#include "player/help/HelpWindow.h"
#include "player/info/TFormInfo.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

using vorlo::HelpWindow;

namespace {

// The pages as the build copies them into the program folder.
QString programHelpFolder() {
    const QString programFolder = qEnvironmentVariable("VORLO_PROGRAM_DIR", QStringLiteral(VORLO_BUILD_PROGRAM_DIR));
    return programFolder + "/help";
}

// The text of the block holding anchor `name` in the shown page; empty when the page has no such anchor.
QString textAtAnchor(const QTextDocument& document, const QString& name) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name)) return block.text();
        }
    }
    return {};
}

struct Topic {
    int context;
    const char* page;
    const char* anchor;
    const char* heading;
};

TEST(HelpWindow, EachContextNumberOpensItsTopic) {
    const Topic topics[] = {
        {101, "index.html", "contents", "MIDI Vorlo Help"},
        {220, "configuration.html", "midi-reset", "MIDI Reset"},
        {230, "configuration.html", "play-control", "Play Control"},
        {240, "configuration.html", "file-types", "File Types Association"},
        {250, "configuration.html", "sound", "Sound"},
        {270, "information.html", "information", "File Information"},
    };
    vorlo::test::ScriptedMessageBoxes boxes;
    HelpWindow window(programHelpFolder());
    for (const Topic& topic : topics) {
        SCOPED_TRACE(topic.context);
        ASSERT_TRUE(window.showContext(topic.context));
        EXPECT_TRUE(window.isVisible());
        const QUrl shown = window.browser()->source();
        EXPECT_EQ(QFileInfo(shown.toLocalFile()).fileName(), topic.page);
        EXPECT_EQ(shown.fragment(), topic.anchor);
        EXPECT_EQ(textAtAnchor(*window.browser()->document(), topic.anchor), topic.heading);
    }
    // A number the pages do not know opens the contents.
    ASSERT_TRUE(window.showContext(999));
    EXPECT_EQ(QFileInfo(window.browser()->source().toLocalFile()).fileName(), "index.html");
}

TEST(HelpWindow, EveryLinkBetweenThePagesLeadsToAPageAndAPlaceOnIt) {
    const QDir folder(programHelpFolder());
    const QStringList pages = folder.entryList({"*.html"}, QDir::Files);
    ASSERT_GE(pages.size(), 5);
    const QRegularExpression link(R"re(href="([a-z-]+\.html)?(?:#([a-z-]+))?")re");
    for (const QString& page : pages) {
        QFile file(folder.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const auto found = match.next();
            const QString target = found.captured(1).isEmpty() ? page : found.captured(1);
            SCOPED_TRACE((page + " -> " + found.captured(0)).toStdString());
            ASSERT_TRUE(pages.contains(target));
            if (found.captured(2).isEmpty()) continue;
            QFile targetFile(folder.filePath(target));
            ASSERT_TRUE(targetFile.open(QIODevice::ReadOnly));
            EXPECT_TRUE(QString::fromUtf8(targetFile.readAll()).contains("name=\"" + found.captured(2) + "\""));
        }
    }
}

TEST(HelpWindow, AMissingPageIsReportedNotShownBlank) {
    QTemporaryDir empty;
    HelpWindow window(empty.path());
    vorlo::test::ScriptedMessageBoxes boxes;
    boxes.expect("Error - Help", "Cannot find the help page '" + empty.path() + "/information.html'!",
                 vorlo::BoxIcon::Error, vorlo::BoxButtons::Ok, vorlo::BoxButton::Ok);
    EXPECT_FALSE(window.showContext(270));
    EXPECT_FALSE(window.isVisible());
}

TEST(HelpWindow, AClosedWindowOpensFullyOnTheWorkAreaAndAnOpenOneStaysWhereItIs) {
    vorlo::test::ScriptedMessageBoxes boxes;
    HelpWindow window(programHelpFolder());
    const QRect workArea = window.screen()->availableGeometry();
    ASSERT_TRUE(window.showContext(101));
    EXPECT_TRUE(workArea.contains(window.frameGeometry()));
    EXPECT_EQ(window.size(), HelpWindow::DesignSize);

    // Left larger than the screen and half off it, closed and asked for again: back on the work area, whole.
    window.close();
    window.setGeometry(workArea.right() - 100, workArea.bottom() - 50, workArea.width() + 200, workArea.height() + 300);
    ASSERT_TRUE(window.showContext(270));
    EXPECT_TRUE(workArea.contains(window.frameGeometry()));
    EXPECT_EQ(window.frameGeometry().size(), workArea.size());  // as large as fits

    // Open, the user's place is kept.
    window.setGeometry(workArea.left() + 20, workArea.top() + 30, 300, 200);
    ASSERT_TRUE(window.showContext(101));
    EXPECT_EQ(window.geometry(), QRect(workArea.left() + 20, workArea.top() + 30, 300, 200));
}

// Records whether the window is blocked by a modal dialog, as Qt tells it.
class BlockedSpy : public QObject {
public:
    bool blocked = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked) blocked = true;
        if (event->type() == QEvent::WindowUnblocked) blocked = false;
        return false;
    }
};

TEST(HelpWindow, OpenedFromTheInformationWindowItComesInFrontAndCanBeUsed) {
    QWidget player;
    player.resize(592, 298);
    player.show();
    player.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&player));
    HelpWindow help(programHelpFolder());
    BlockedSpy spy;
    help.installEventFilter(&spy);
    HelpWindow::setViewer(&player, [&help](int context) { help.showContext(context); });

    vorlo::TFormInfo info(&player);
    bool shown = false;
    bool blocked = true;
    bool active = false;
    QTimer::singleShot(0, &info, [&] {
        QTest::mouseClick(info.findChild<QPushButton*>("BtInfoHelp"), Qt::LeftButton);
        shown = help.isVisible();
        blocked = spy.blocked;
        active = QTest::qWaitForWindowActive(&help);
        info.accept();
    });
    info.exec();  // modal, as the player runs it
    EXPECT_TRUE(shown);
    EXPECT_FALSE(blocked);
    EXPECT_TRUE(active);
    EXPECT_EQ(help.browser()->source().fragment(), "information");
    HelpWindow::setViewer(nullptr, {});
}

}  // namespace
