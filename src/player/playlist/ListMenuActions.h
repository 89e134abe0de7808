#pragma once

#include "player/playlist/PlaylistPanel.h"

#include <QObject>

class QAction;

namespace vorlo {

// The list items of the "&List" menu with their captions, shortcuts and object names. Their enabled state
// follows the list commands and the playlist panel; the main window places them in the menu.
class ListMenuActions : public QObject {
    Q_OBJECT
public:
    explicit ListMenuActions(QObject* parent = nullptr);

    QAction* openList;    // FileOpenList "&Open List..." Ctrl+O
    QAction* addList;     // FileAddList "&Add List..." Ctrl+A
    QAction* saveList;    // FileSaveList "&Save List" Ctrl+S
    QAction* saveListAs;  // FileSaveListAs "Save List &As..."
    QAction* sortList;    // FileSortList "&Sort List"
    QAction* clearList;   // FileClearList "Clea&r List" Ctrl+R
    QAction* closeList;   // FileCloseList "&Close List" Ctrl+E

    // The menu item that a command of the playlist stands for, if it has one.
    void setEnabled(ListCommand command, bool enabled);
};

}  // namespace vorlo
