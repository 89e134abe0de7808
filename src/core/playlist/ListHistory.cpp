#include "core/playlist/ListHistory.h"

#include "core/playlist/ListFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

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
    const QByteArray native = QFile::encodeName(historyFile);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw EListFileError(historyError(historyFile, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw EListFileError(historyError(historyFile, QStringLiteral("it is not a regular file.")));
    }
    QByteArray head(ListHistory::kMaxReadBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < head.size()) {
        const ssize_t n = ::read(fd, head.data() + got, static_cast<std::size_t>(head.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw EListFileError(historyError(historyFile, QString::fromLocal8Bit(std::strerror(error))));
        }
        if (n == 0) break;
        got += n;
    }
    ::close(fd);
    cut = got > ListHistory::kMaxReadBytes;
    head.truncate(std::min(got, ListHistory::kMaxReadBytes));
    return head;
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
