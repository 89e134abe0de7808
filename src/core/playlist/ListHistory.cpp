#include "core/playlist/ListHistory.h"

#include "core/playlist/ListFile.h"

#include <QFileInfo>

namespace vorlo {

ListHistory::ListHistory(QObject* parent) : QObject(parent) {}

void ListHistory::recentFirst() {
    if (!history_.isEmpty() && (menu_.isEmpty() || menu_.first() != history_.first())) menu_.prepend(history_.first());
}

void ListHistory::PushHistory(const QString& path) {
    recentFirst();
    const qsizetype found = history_.indexOf(path);
    if (found >= 0) {
        history_.removeAt(found);
        if (found < menu_.size()) menu_.removeAt(found);
    }
    if (history_.size() > kMaxEntries - 1) {
        history_.removeAt(kMaxEntries - 1);
        if (menu_.size() > kMaxEntries - 1) menu_.removeAt(kMaxEntries - 1);
    }
    history_.prepend(path);
    emit changed();
}

void ListHistory::listClosed() {
    recentFirst();
    emit changed();
}

void ListHistory::takeOpenedFromMenu(const QString& path) {
    if (!menu_.isEmpty() && menu_.first() == path) {
        menu_.removeFirst();
        emit changed();
    }
}

void ListHistory::forgetMenuItem(int index) {
    if (index < 0 || index >= menu_.size()) return;
    const QString path = menu_.takeAt(index);
    history_.removeOne(path);
    emit changed();
}

void ListHistory::load(const QString& historyFile, const QString& fallback) {
    if (!historyFile.isEmpty() && QFileInfo::exists(historyFile)) {
        history_ = ListFile::read(historyFile);
        menu_ = history_;
    } else if (fallback != QLatin1String("*.mpl") && !fallback.isEmpty()) {
        history_ = QStringList{fallback};
    }
    emit changed();
}

void ListHistory::save(const QString& historyFile) const {
    if (history_.isEmpty() || historyFile.isEmpty()) return;
    ListFile::write(historyFile, history_);
}

}  // namespace vorlo
