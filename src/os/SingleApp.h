#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <stdexcept>

class QLocalServer;

namespace vorlo {

class SingleAppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Keeps one player running per user. The first process holds a lock file ("MV_mutex") for its whole life and,
// once its main window exists, listens on a local socket ("MV_map") in the private runtime folder. A second start
// connects there, sends its command-line tail as one 260-byte block (the text and a terminating zero byte) and
// waits until the first player has handled it. Only the same user can connect: the folder is 0700 and the peer's
// user id is checked, and a connection that does not send its block within seconds is dropped.
class SingleApp : public QObject {
public:
    static constexpr int kBlockSize = 260;

    // Throws SingleAppError("mutex creation failed") when the lock cannot be created. A second process waits,
    // without limit, until the first has published its window, or takes over when the first has died.
    SingleApp(const QString& mutexName = QStringLiteral("MV_mutex"), const QString& mapName = QStringLiteral("MV_map"),
              QObject* parent = nullptr);
    ~SingleApp() override;
    SingleApp(const SingleApp&) = delete;
    SingleApp& operator=(const SingleApp&) = delete;

    bool isFirst() const { return isFirst_; }
    // A second process that found the first player's window.
    bool hasOtherWindow() const { return otherFd_ >= 0; }

    // First process: starts taking hand-overs; `receiver` gets each command-line tail and runs on this thread.
    void publish(std::function<void(const QByteArray& tail)> receiver);

    // Second process: sends the tail and waits until the first has handled it. Does nothing without a first
    // player's window or with an empty tail (the first player is not disturbed). Returns false when nothing was sent
    // (no window, or a tail longer than 259 bytes, which does not fit the block and is not sent at all rather than sent
    // cut short).
    bool send(const QByteArray& tail);

    // The raw command-line tail as the player hands it on: the arguments after the program name joined by blanks.
    static QByteArray commandLineTail(int argc, char** argv);

    // The tail with its file name made absolute against `workingFolder` (the second start's own folder), when
    // the name is relative and a file of that name is there; otherwise the tail unchanged, so a bare name
    // that is not there is still looked for in the first player's program folder.
    static QByteArray absoluteTail(const QByteArray& tail, const QByteArray& workingFolder);

private:
    void acceptConnections();
    static bool tryLock(int fd);

    QString folder_;
    QString mapPath_;
    int lockFd_ = -1;
    int otherFd_ = -1;
    bool isFirst_ = false;
    QLocalServer* server_ = nullptr;
    std::function<void(const QByteArray&)> receiver_;
};

}  // namespace vorlo
