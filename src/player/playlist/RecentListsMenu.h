#pragma once

#include <QMenu>

#include <functional>

namespace vorlo {

class ListHistory;

// The "&Recent Lists" submenu: one item per recent list file, captioned with its full path, always in line
// with the history's menu items. Clicking item i calls the handler with i.
class RecentListsMenu : public QMenu {
    Q_OBJECT
public:
    RecentListsMenu(ListHistory& history, std::function<void(int index)> onClick, QWidget* parent = nullptr);

    // The full paths the items show, top to bottom.
    QStringList captions() const;

private:
    void rebuild();

    ListHistory& history_;
    std::function<void(int)> onClick_;
};

}  // namespace vorlo
