#include "core/playlist/ListHistory.h"

#include "core/playlist/ListFile.h"
#include "os/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

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

QStringList ListHistory::parse(const QByteArray& head, bool cut) { return ListFile::parseHead(head, cut, kMaxEntries); }

namespace {

QString historyError(const QString& historyFile, const QString& reason) {
    return QStringLiteral("Cannot read the list history %1: %2").arg(historyFile, reason);
}

// The head of History.ini: at most kMaxReadBytes, read without blocking on something that is not a file.
QByteArray readHead(const QString& historyFile, bool& cut) {
    FileHead head = readFileHead(historyFile, ListHistory::kMaxReadBytes);
    if (!head.error.isEmpty()) throw EListFileError(historyError(historyFile, head.error));
    cut = head.cut;
    return std::move(head.bytes);
}

}  // namespace

void ListHistory::load(const QString& historyFile, const QString& fallback) {
    if (!historyFile.isEmpty() && QFileInfo::exists(historyFile)) {
        bool cut = false;
        const QByteArray head = readHead(historyFile, cut);
        history_ = parse(head, cut);
        menu_ = history_;
    } else if (fallback != QLatin1String("*.mpl") && !fallback.isEmpty()) {
        history_ = QStringList{fallback};
    }
    emit changed();
}

void ListHistory::save(const QString& historyFile) const {
    if (history_.isEmpty() || historyFile.isEmpty()) return;
    QStringList kept = history_;
    kept.removeIf(&ListFile::holdsLineBreak);  // such a name would split into two wrong entries
    try {
        SafeSave::write(historyFile, ListFile::serialise(kept), SafeSave::Links::Refuse);
    } catch (const SafeSaveError& error) {
        throw EListFileError(QStringLiteral("Cannot save the list history %1: %2").arg(historyFile, error.reason()));
    }
}

}  // namespace vorlo
