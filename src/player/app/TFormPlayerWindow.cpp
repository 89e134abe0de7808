// The main window's own parts: showing and hiding its parts, its size limits, Stay on Top, the tray menu and
// the keys the window handles itself.
#include "player/app/TFormPlayer.h"

#include "media/MIDIPlayer.h"
#include "player/app/PlayerControls.h"
#include "player/app/StayOnTop.h"
#include "player/app/TrayMenu.h"
#include "player/app/WindowParts.h"
#include "player/filebox/FileBox.h"
#include "player/info/TFormInfo.h"
#include "player/playback/PlaybackEngine.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QWindowStateChangeEvent>

namespace vorlo {

namespace {

// A window command's key wins over a menu title's mnemonic with the same letter (Alt+H hides, it does not
// open Help). Qt calls such a key ambiguous and would do nothing; this settles it for the command.
class CommandKeysFirst : public QObject {
public:
    CommandKeysFirst(QMenuBar* menuBar, QWidget* window) : QObject(window), menuBar_(menuBar), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous()) return false;
        if (watched == menuBar_) {
            // The menu bar lets go of the mnemonic for good, so the command gets the key from now on.
            menuBar_->releaseShortcut(shortcut->shortcutId());
            if (QAction* command = commandFor(shortcut->key())) command->trigger();
            return true;
        }
        if (auto* command = qobject_cast<QAction*>(watched); command && command->isEnabled()) {
            command->trigger();
            return true;
        }
        return false;
    }

private:
    QAction* commandFor(const QKeySequence& key) const {
        for (QAction* action : window_->actions()) {
            if (action->shortcut() == key && action->isEnabled()) return action;
        }
        return nullptr;
    }

    QMenuBar* menuBar_;
    QWidget* window_;
};

}  // namespace

void TFormPlayer::wireWindow() {
    windowParts_ = new WindowParts(*this, *controls_, *playlistPanel_, *fileBox_);
    windowParts_->setRefreshAction(refreshFileBox_);
    // "&Parts", "&All" and "&Hide" lead the Display menu, "Stay on &Top" ends it.
    displayMenu_->removeAction(displayHide_);
    displayMenu_->insertAction(refreshFileBox_, displayHide_);
    windowParts_->buildMenu(displayMenu_, displayHide_);
    connect(windowParts_->allAction(), &QAction::triggered, this, &TFormPlayer::restoreFromTray);

    stayOnTop_ = new StayOnTop(*this);
    displayMenu_->addAction(stayOnTop_->action());

    // The Help menu closes the menu bar, after the menus the other commands brought.
    if (auto* help = menuBar()->findChild<QMenu*>(QStringLiteral("MenuHelp"), Qt::FindDirectChildrenOnly)) {
        menuBar()->removeAction(help->menuAction());
        menuBar()->addAction(help->menuAction());
    }

    wireTrayMenu();
    wireWindowKeys();
    keepShortcutsWithoutMenuBar();
    windowParts_->run(WindowPart::FileBox, Sender::MainWindow);
}

void TFormPlayer::wireTrayMenu() {
    controls_->play->installEventFilter(this);
    trayMenu_ = new TrayMenu(
        *controls_, modes_, [this] { return device_->isOpen() && device_->mode() == media::Mode::Playing; }, this);
    TrayMenu& tray = *trayMenu_;
    connect(tray.item("TrayExit"), &QAction::triggered, this, [this] { FileExitClick(false); });
    connect(tray.item("TrayOpenList"), &QAction::triggered, this, [this] { listCommands_->FileOpenListClick(); });
    connect(tray.item("PopReplay"), &QAction::triggered, this, [this] { engine_->PopReplayClick(); });
    // The transport items act as their buttons do, so Stop also sends the focus to the playlist.
    const std::pair<const char*, QToolButton*> transport[] = {{"PopPlay", controls_->play},
                                                              {"PopStop", controls_->stop},
                                                              {"PopPause", controls_->pause},
                                                              {"PopNext", controls_->next},
                                                              {"PopPrev", controls_->previous}};
    for (const auto& [name, button] : transport) {
        QToolButton* target = button;
        connect(tray.item(name), &QAction::triggered, target, [target] {
            if (target->isEnabled()) target->click();
        });
    }
    connect(tray.item("TrayRestore"), &QAction::triggered, this, &TFormPlayer::restoreFromTray);
}

QSystemTrayIcon& TFormPlayer::trayIcon() {
    ensureTrayIcon();
    return *trayIcon_;
}

void TFormPlayer::updateTrayImage() {
    if (!trayIcon_) return;
    const bool playing = device_->isOpen() && device_->mode() == media::Mode::Playing;
    if (playing) {
        trayIcon_->setIcon(windowIcon());
        return;
    }
    const QPixmap greyed = windowIcon().pixmap(QSize(32, 32), QIcon::Disabled);
    trayIcon_->setIcon(QIcon(greyed));
}

void TFormPlayer::wireWindowKeys() {
    const auto addKey = [this](QKeyCombination key, auto action) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    // Pushing acts as the middle panel's buttons, and only while they are enabled.
    addKey(Qt::CTRL | Qt::Key_D, [this] {
        if (QToolButton* down = playlistPanel_->button(QStringLiteral("MoveFileDown")); down && down->isEnabled())
            down->click();
    });
    addKey(Qt::CTRL | Qt::Key_U, [this] {
        if (QToolButton* up = playlistPanel_->button(QStringLiteral("MoveFileUp")); up && up->isEnabled()) up->click();
    });
    addKey(Qt::CTRL | Qt::Key_I, [this] {
        const int line = playlistPanel_->selectedLine();
        if (line >= 0) showEntryInformation(this, playlistPanel_->playlist(), line, zipMode_);
    });
}

void TFormPlayer::keepShortcutsWithoutMenuBar() {
    // Actions of a hidden menu bar lose their shortcuts; held by the window as well, they keep them, and Alt+4
    // can bring the menu back.
    std::function<void(QMenu*)> adopt = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu())
                adopt(action->menu());
            else if (!action->isSeparator() && !action->shortcut().isEmpty())
                addAction(action);
        }
    };
    for (QAction* top : menuBar()->actions()) {
        if (top->menu()) adopt(top->menu());
    }
    auto* keysFirst = new CommandKeysFirst(menuBar(), this);
    menuBar()->installEventFilter(keysFirst);
    for (QAction* action : actions()) {
        if (action->shortcut()[0].keyboardModifiers() == Qt::AltModifier) action->installEventFilter(keysFirst);
    }
}

void TFormPlayer::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || maximising_) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool maximised = isMaximized() && !change->oldState().testFlag(Qt::WindowMaximized);
    if (!maximised || windowParts_->allShown()) return;
    // Maximising first shows every part; the window then maximises again within its new limits.
    maximising_ = true;
    windowParts_->AllClick();
    maximising_ = false;
    QTimer::singleShot(0, this, [this] {
        if (!isMaximized()) return;
        maximising_ = true;
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setWindowState(windowState() | Qt::WindowMaximized);
        maximising_ = false;
    });
}

}  // namespace vorlo
