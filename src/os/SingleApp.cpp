#include "os/SingleApp.h"

#include "os/PrivateFolder.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vorlo {

namespace {

constexpr int kPollIntervalMs = 25;
// A connection that has not sent its whole block by then is dropped: a second start sends it at once.
constexpr int kIdleTimeoutMs = 5000;

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(fd, data, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Connects to the first player's socket; -1 when nobody listens there (yet).
int connectTo(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (native.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return -1;
    std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool SingleApp::tryLock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

SingleApp::SingleApp(const QString& mutexName, const QString& mapName, QObject* parent) : QObject(parent) {
    folder_ = runtimeFolder();
    if (!prepareRuntimeFolder(folder_).isEmpty()) throw SingleAppError("mutex creation failed");
    mapPath_ = folder_ + QLatin1Char('/') + mapName;
    const QByteArray lockPath = QFile::encodeName(folder_ + QLatin1Char('/') + mutexName);
    lockFd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) throw SingleAppError("mutex creation failed");

    // The first player holds the lock as long as it runs. A second start waits for the first one's socket; if
    // the lock comes free meanwhile, the first player ended before publishing and this start takes its place.
    for (;;) {
        if (tryLock(lockFd_)) {
            isFirst_ = true;
            return;
        }
        otherFd_ = connectTo(mapPath_);
        if (otherFd_ >= 0) return;
        QThread::msleep(kPollIntervalMs);
    }
}

SingleApp::~SingleApp() {
    if (server_) {
        server_->close();
        QFile::remove(mapPath_);
    }
    if (otherFd_ >= 0) ::close(otherFd_);
    if (lockFd_ >= 0) ::close(lockFd_);  // closing releases the lock
}

void SingleApp::publish(std::function<void(const QByteArray&)> receiver) {
    if (!isFirst_ || server_) return;
    receiver_ = std::move(receiver);
    QFile::remove(mapPath_);  // we hold the lock, so a socket file left there is from a player that died
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(mapPath_)) {
        qWarning("Cannot take files from later starts: %s", qPrintable(server_->errorString()));
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleApp::acceptConnections);
}

void SingleApp::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        ucred peer{};
        socklen_t length = sizeof(peer);
        const int fd = static_cast<int>(socket->socketDescriptor());
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != ::geteuid()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto block = std::make_shared<QByteArray>();
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        idle->start(kIdleTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, block, idle] {
            block->append(socket->read(kBlockSize - block->size()));
            if (block->size() < kBlockSize) return;
            idle->stop();  // handling may ask the user a question, which takes what it takes
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);  // one block per connection
            QByteArray tail = *block;
            const qsizetype end = tail.indexOf('\0');
            tail.truncate(end < 0 ? kBlockSize - 1 : end);
            if (receiver_) receiver_(tail);
            // The sender waits for this byte: it returns only after the file has been handled.
            socket->write("\x01", 1);
            socket->flush();
            socket->disconnectFromServer();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

bool SingleApp::send(const QByteArray& tail) {
    if (isFirst_ || otherFd_ < 0 || tail.isEmpty()) return false;
    if (tail.size() > kBlockSize - 1) return false;
    QByteArray block(kBlockSize, '\0');
    std::memcpy(block.data(), tail.constData(), static_cast<std::size_t>(tail.size()));
    if (!writeAll(otherFd_, block.constData(), static_cast<std::size_t>(block.size()))) return false;
    // Wait until the first player has handled the file, including any question it asks the user.
    char ack = 0;
    for (;;) {
        const ssize_t got = ::recv(otherFd_, &ack, 1, 0);
        if (got < 0 && errno == EINTR) continue;
        return got == 1;
    }
}

QByteArray SingleApp::absoluteTail(const QByteArray& tail, const QByteArray& workingFolder) {
    // The tail is a file name, or the desktop's "/play /close " followed by one: only those forms name a file
    // relative to where the start was made.
    static const QByteArray kPlayPrefix = "/play /close ";
    qsizetype start = 0;
    if (tail.startsWith('/')) {
        if (tail.left(kPlayPrefix.size()).toLower() != kPlayPrefix) return tail;
        start = kPlayPrefix.size();
    }
    const QByteArray name = tail.mid(start);
    if (name.isEmpty() || name.startsWith('/') || workingFolder.isEmpty()) return tail;
    const QByteArray full = workingFolder + '/' + name;
    struct stat info {};
    // A bare name that is not here stays as it is: the first player then looks in its program folder.
    if (::stat(full.constData(), &info) != 0) return tail;
    return tail.left(start) + full;
}

QByteArray SingleApp::commandLineTail(int argc, char** argv) {
    QByteArray tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) tail += ' ';
        tail += argv[i];
    }
    return tail;
}

}  // namespace vorlo
