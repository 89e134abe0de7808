#include "player/app/TrayMenu.h"

#include "player/app/PlayerActions.h"

#include <QMenu>

namespace vorlo {

TrayMenu::TrayMenu(const PlayerActions& actions, QObject* parent) : QObject(parent), menu_(new QMenu) {
    menu_->setObjectName(QStringLiteral("TrayPop"));
    menu_->addAction(actions.exit);
    menu_->addSeparator();
    menu_->addAction(actions.trayOpenList);
    menu_->addSeparator();
    for (QAction* transport :
         {actions.replay, actions.play, actions.stop, actions.pause, actions.next, actions.previous})
        menu_->addAction(transport);
    menu_->addSeparator();
    menu_->addAction(actions.trayRestore);
}

// The menu has no parent widget (a tray menu floats on the desktop), so it is ours to delete.
TrayMenu::~TrayMenu() { delete menu_; }

}  // namespace vorlo
