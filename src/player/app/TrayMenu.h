#pragma once

#include <QObject>

class QMenu;

namespace vorlo {

class PlayerActions;

// The tray icon's menu `TrayPop`: "E&xit", "&Open List", "&Replay", "&Play", "&Stop", "P&ause", "&Next",
// "Pre&vious", "&Restore". Its items are the window's actions, so their enabling and the captions that change
// with the mode and a pause ("C&ontinue") are always those of the core's view.
class TrayMenu : public QObject {
    Q_OBJECT
public:
    TrayMenu(const PlayerActions& actions, QObject* parent = nullptr);
    ~TrayMenu() override;

    QMenu* menu() const { return menu_; }

private:
    QMenu* menu_ = nullptr;
};

}  // namespace vorlo
