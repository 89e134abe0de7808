#include "player/playlist/ListMenuActions.h"

#include <QAction>
#include <QKeySequence>

namespace vorlo {

namespace {

QAction* makeAction(QObject* parent, const char* name, const char* caption, const char* shortcut, bool enabled) {
    auto* action = new QAction(QString::fromLatin1(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    if (*shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    action->setEnabled(enabled);
    return action;
}

}  // namespace

// Until a list is open or the playlist has entries there is nothing to save, sort, clear or close.
ListMenuActions::ListMenuActions(QObject* parent)
    : QObject(parent),
      openList(makeAction(this, "FileOpenList", "&Open List...", "Ctrl+O", true)),
      addList(makeAction(this, "FileAddList", "&Add List...", "Ctrl+A", true)),
      saveList(makeAction(this, "FileSaveList", "&Save List", "Ctrl+S", false)),
      saveListAs(makeAction(this, "FileSaveListAs", "Save List &As...", "", false)),
      sortList(makeAction(this, "FileSortList", "&Sort List", "", false)),
      clearList(makeAction(this, "FileClearList", "Clea&r List", "Ctrl+R", false)),
      closeList(makeAction(this, "FileCloseList", "&Close List", "Ctrl+E", false)) {}

void ListMenuActions::setEnabled(ListCommand command, bool enabled) {
    switch (command) {
        case ListCommand::SaveList: saveList->setEnabled(enabled); break;
        case ListCommand::SaveListAs: saveListAs->setEnabled(enabled); break;
        case ListCommand::SortList: sortList->setEnabled(enabled); break;
        case ListCommand::ClearList: clearList->setEnabled(enabled); break;
        default: break;  // transport buttons: the main window's
    }
}

}  // namespace vorlo
