#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace vorlo {

struct PlayerControls;
struct PlayModes;

// The tray icon's menu `TrayPop`. Each time it opens, its transport items follow the transport buttons and the
// captions of next/previous and pause follow the play mode and the device.
class TrayMenu : public QObject {
    Q_OBJECT
public:
    // `devicePlaying` tells whether the media device plays right now.
    TrayMenu(const PlayerControls& controls, const PlayModes& modes, std::function<bool()> devicePlaying,
             QObject* parent = nullptr);
    ~TrayMenu() override;

    QMenu* menu() const { return menu_; }
    // An item by its object name: TrayExit, TrayOpenList, PopReplay, PopPlay, PopStop, PopPause, PopNext,
    // PopPrev, TrayRestore.
    QAction* item(const char* objectName) const;
    // Brings enabling and captions up to date, as happens when the menu opens.
    void TrayPopPopup();

private:
    const PlayerControls& controls_;
    const PlayModes& modes_;
    std::function<bool()> devicePlaying_;
    QMenu* menu_ = nullptr;
};

}  // namespace vorlo
