#include "player/help/HelpWindow.h"

#include "core/app/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <array>

namespace vorlo {

namespace {

const std::array<HelpTopic, 5> Topics = {{
    {HelpTopics::Contents, "index.html", "contents"},
    {HelpTopics::MidiReset, "configuration.html", "midi-reset"},
    {HelpTopics::PlayControl, "configuration.html", "play-control"},
    {HelpTopics::FileTypes, "configuration.html", "file-types"},
    {HelpTopics::Information, "information.html", "information"},
}};

}  // namespace

const HelpTopic& HelpTopics::topic(int context) {
    for (const HelpTopic& topic : Topics) {
        if (topic.context == context) return topic;
    }
    return Topics.front();
}

QString HelpWindow::defaultHelpFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/help"); }

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      folder_(helpFolder.isEmpty() ? defaultHelpFolder() : helpFolder),
      browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString::fromLatin1(Title));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);  // web addresses go to the desktop's browser, pages stay here
    browser_->setSearchPaths({folder_});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 520);
}

bool HelpWindow::showContext(int context) {
    const HelpTopic& topic = HelpTopics::topic(context);
    const QString page = QDir(folder_).filePath(QString::fromLatin1(topic.page));
    if (!QFileInfo::exists(page)) {
        MessageBoxes::show(QStringLiteral("Error - Help"),
                           QStringLiteral("Cannot find the help page '") + page + QStringLiteral("'!"), BoxIcon::Error);
        return false;
    }
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(QString::fromLatin1(topic.anchor));
    browser_->setSource(url);
    // The browser scrolls to a fragment only once the page is laid out; do it again now that it is.
    browser_->scrollToAnchor(QString::fromLatin1(topic.anchor));
    show();
    raise();
    activateWindow();
    return true;
}

}  // namespace vorlo
