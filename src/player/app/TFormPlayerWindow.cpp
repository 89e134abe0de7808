// The main window's own parts: showing and hiding its parts, its size limits, Stay on Top, the tray menu and
// the keys the window handles itself.
#include "player/app/TFormPlayer.h"

#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/StayOnTop.h"
#include "player/app/TrayMenu.h"
#include "player/app/WindowParts.h"
#include "player/filebox/FileBox.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTimer>
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
    const PlayerActions& a = *actions_;
    windowParts_ = new WindowParts(*this, *controls_, *playlistPanel_, *fileBox_);
    windowParts_->setRefreshAction(a.refreshFileBox);
    // "&Parts", "&All" and "&Hide" lead the Display menu, "Stay on &Top" ends it.
    windowParts_->buildMenu(displayMenu_, a.hide);
    connect(windowParts_->allAction(), &QAction::triggered, this, &TFormPlayer::restoreFromTray);

    stayOnTop_ = new StayOnTop(*this);
    displayMenu_->addAction(stayOnTop_->action());

    wireTrayMenu();
    keepShortcutsWithoutMenuBar();
    windowParts_->run(WindowPart::FileBox, Sender::MainWindow);
}

void TFormPlayer::wireTrayMenu() {
    trayMenu_ = new TrayMenu(*actions_, this);
    connect(actions_->trayRestore, &QAction::triggered, this, &TFormPlayer::restoreFromTray);
}

QSystemTrayIcon& TFormPlayer::trayIcon() {
    ensureTrayIcon();
    return *trayIcon_;
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
