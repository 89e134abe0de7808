#include "player/playlist/RecentListsMenu.h"

#include "core/playlist/ListHistory.h"

#include <QAction>

namespace vorlo {

namespace {

// A path is shown as it is: an "&" in it is a character, not a mnemonic.
QString menuText(const QString& path) {
    QString text = path;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

RecentListsMenu::RecentListsMenu(ListHistory& history, std::function<void(int)> onClick, QWidget* parent)
    : QMenu(QStringLiteral("&Recent Lists"), parent), history_(history), onClick_(std::move(onClick)) {
    setObjectName(QStringLiteral("Recent"));
    connect(&history_, &ListHistory::changed, this, &RecentListsMenu::rebuild);
    rebuild();
}

QStringList RecentListsMenu::captions() const {
    QStringList paths;
    for (const QAction* action : actions()) paths << action->data().toString();
    return paths;
}

void RecentListsMenu::rebuild() {
    // The clicked item may be the one being replaced: it goes later, once its click has been handled.
    for (QAction* old : actions()) {
        removeAction(old);
        old->deleteLater();
    }
    const QStringList& items = history_.menuItems();
    for (int i = 0; i < items.size(); ++i) {
        QAction* item = addAction(menuText(items[i]));
        item->setData(items[i]);
        connect(item, &QAction::triggered, this, [this, i] {
            if (onClick_) onClick_(i);
        });
    }
}

}  // namespace vorlo
