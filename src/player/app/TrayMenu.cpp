#include "player/app/TrayMenu.h"

#include "core/playback/PlayModes.h"
#include "player/app/PlayerControls.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace vorlo {

TrayMenu::TrayMenu(const PlayerControls& controls, const PlayModes& modes, std::function<bool()> devicePlaying,
                   QObject* parent)
    : QObject(parent), controls_(controls), modes_(modes), devicePlaying_(std::move(devicePlaying)), menu_(new QMenu) {
    menu_->setObjectName(QStringLiteral("TrayPop"));
    const auto add = [this](const char* name, const char* caption) {
        QAction* action = menu_->addAction(QString::fromLatin1(caption));
        action->setObjectName(QLatin1String(name));
    };
    add("TrayExit", "E&xit");
    menu_->addSeparator();
    add("TrayOpenList", "&Open List");
    menu_->addSeparator();
    add("PopReplay", "&Replay");
    add("PopPlay", "&Play");
    add("PopStop", "&Stop");
    add("PopPause", "P&ause");
    add("PopNext", "&Next");
    add("PopPrev", "Pre&vious");
    menu_->addSeparator();
    add("TrayRestore", "&Restore");
    connect(menu_, &QMenu::aboutToShow, this, &TrayMenu::TrayPopPopup);
}

// The menu has no parent widget (a tray menu floats on the desktop), so it is ours to delete.
TrayMenu::~TrayMenu() { delete menu_; }

QAction* TrayMenu::item(const char* objectName) const {
    return menu_->findChild<QAction*>(QLatin1String(objectName), Qt::FindDirectChildrenOnly);
}

void TrayMenu::TrayPopPopup() {
    item("PopPlay")->setEnabled(controls_.play->isEnabled());
    item("PopStop")->setEnabled(controls_.stop->isEnabled());
    item("PopPause")->setEnabled(controls_.pause->isEnabled());
    item("PopNext")->setEnabled(controls_.next->isEnabled());
    item("PopPrev")->setEnabled(controls_.previous->isEnabled());
    item("PopReplay")->setEnabled(controls_.play->isEnabled() || controls_.stop->isEnabled());

    const char* nextCaption = "&Next";
    const char* previousCaption = "&Pre&vious";
    if (modes_.random) {
        nextCaption = previousCaption = "&Random";
    } else if (modes_.shuffle) {
        nextCaption = previousCaption = "&Shuffle";
    }
    item("PopNext")->setText(QString::fromLatin1(nextCaption));
    item("PopPrev")->setText(QString::fromLatin1(previousCaption));

    // A paused song is a stopped device whose Pause button still offers to go on.
    if (devicePlaying_())
        item("PopPause")->setText(QStringLiteral("P&ause"));
    else if (controls_.pause->isEnabled())
        item("PopPause")->setText(QStringLiteral("C&ontinue"));
}

}  // namespace vorlo
