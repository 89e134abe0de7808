#include "player/help/HelpWindow.h"

#include "core/app/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <array>

namespace vorlo {

namespace {

struct Viewer {
    QPointer<const QObject> owner;
    bool owned = false;
    std::function<void(int)> show;
};

Viewer& installedViewer() {
    static Viewer viewer;
    return viewer;
}

// The frame that the window manager puts around `window`, as far as it is known yet.
QMargins frameMargins(const QWidget* window) {
    if (!window || !window->windowHandle()) return {};
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// `client` moved, and made smaller where it must be, so that it lies inside `workArea` with its frame.
QRect fitInside(QRect client, const QMargins& frame, const QRect& workArea) {
    const QRect room = workArea.marginsRemoved(frame);
    client.setWidth(std::min(client.width(), room.width()));
    client.setHeight(std::min(client.height(), room.height()));
    client.moveLeft(std::clamp(client.left(), room.left(), room.right() - client.width() + 1));
    client.moveTop(std::clamp(client.top(), room.top(), room.bottom() - client.height() + 1));
    return client;
}

const std::array<HelpTopic, 6> Topics = {{
    {HelpTopics::Contents, "index.html", "contents"},
    {HelpTopics::MidiReset, "configuration.html", "midi-reset"},
    {HelpTopics::PlayControl, "configuration.html", "play-control"},
    {HelpTopics::FileTypes, "configuration.html", "file-types"},
    {HelpTopics::Sound, "configuration.html", "sound"},
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
    resize(DesignSize);
}

void HelpWindow::setViewer(const QObject* owner, std::function<void(int)> viewer) {
    installedViewer() = {owner, owner != nullptr, std::move(viewer)};
}

void HelpWindow::showTopic(int context) {
    const Viewer& viewer = installedViewer();
    if (viewer.show && (!viewer.owned || viewer.owner)) {
        viewer.show(context);
        return;
    }
    static QPointer<HelpWindow> own;
    if (!own) {
        own = new HelpWindow;
        own->setAttribute(Qt::WA_DeleteOnClose);
    }
    own->showContext(context);
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
    bringUp();
    return true;
}

void HelpWindow::bringUp() {
    QWidget* asking = QApplication::activeWindow();
    if (asking == this) asking = nullptr;
    // A modal dialog (the information window, the About box) blocks every other window of the player, and the
    // window manager keeps the dialog's family above a window that is not of it. Made transient for the dialog,
    // the help window is neither blocked nor buried; Qt drops the link when the dialog goes.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this) modal = nullptr;
    winId();  // the native window, to link
    windowHandle()->setTransientParent(modal ? modal->windowHandle() : nullptr);
    if (!isVisible()) placeOnWorkArea(asking ? asking : modal);
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void HelpWindow::placeOnWorkArea(const QWidget* asking) {
    QScreen* screen = asking ? asking->screen() : this->screen();
    if (!screen) return;
    const QRect workArea = screen->availableGeometry();
    // The first time, centred on the work area; later where the user left it, as far as it still fits. Until the
    // window has been shown its frame is unknown: the asking window's frame stands in for it.
    QRect client = geometry();
    if (!placed_) client.moveCenter(workArea.center());
    const QMargins frame = placed_ ? frameMargins(this) : frameMargins(asking);
    setGeometry(fitInside(client, frame, workArea));
    placed_ = true;
}

}  // namespace vorlo
