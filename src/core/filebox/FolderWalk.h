#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

class QThread;
class QTimer;

namespace vorlo {

// A playable file found under a folder: its full path and its name.
struct FoundFile {
    QString path;
    QString name;
};

// Playable files a walk found one after the other in one folder, as the bytes of their names in the folder's
// listing. Making the player's names of them (file()) is left to whoever takes them: a thread that only walks
// then makes no string per file, and the strings are made where they will live.
struct FoundNames {
    struct Span {
        qsizetype offset;
        qsizetype length;
    };
    QString folder;           // as the player holds it
    QByteArray listing;       // the names of the folder's entries, one after the other (shared, not copied)
    std::vector<Span> files;  // where each file's name lies in `listing`

    std::size_t size() const { return files.size(); }
    // The file at `index` with its name converted through the program's path codec (os/NativePath).
    FoundFile file(std::size_t index) const;
};

// Add Folder: every playable file of a folder and of all its subfolders, depth first (a subfolder is walked before
// the next entry of its folder), each folder's entries in the order the file system lists them. The drive search
// walks whole drives with it.
//
// It never loops and never leaves the files: a folder it has been in already (a link to a folder it is inside,
// or a second way to the same folder) is not entered again, and /proc, /sys and /dev are not entered at all. A
// folder it cannot read is skipped, and so are hidden entries (a name starting with a dot, as the file box hides
// them). Every other name is found with its own bytes, UTF-8 or not (os/NativePath). A walk stops at its next
// entry once `stop` is set. Any thread; the sinks are called on the walking thread.
class FolderWalk {
public:
    // A file is the sink's to keep (a sink taking `const FoundFile&` copies what it keeps).
    using FileSink = std::function<void(FoundFile&& file)>;
    using NamesSink = std::function<void(FoundNames&& names)>;
    using FolderSink = std::function<void(const QString& folder)>;

    explicit FolderWalk(const std::atomic<bool>* stop = nullptr) : stop_(stop) {}

    // The drive search: the walk stays on the file systems of `drives` (the file box's drives). It crosses into
    // another mounted file system only where that one is itself among `drives`, and the folders entered are
    // remembered across walk() calls, so a drive already walked inside another ("/home" inside "/") is not
    // walked again. Add Folder sets none of this and goes wherever the folder's tree leads.
    void keepToDrives(const QStringList& drives);

    // Walks `folder`. Returns false when the walk was stopped before its end.
    bool walk(const QString& folder, const FileSink& onFile, const FolderSink& onFolder = {});
    // The same walk handing over the files of a folder together, as names: the files in the same order, those
    // found before a stop included; a folder's files come in several groups when it has subfolders between them.
    bool walkNames(const QString& folder, const NamesSink& onNames, const FolderSink& onFolder = {});

    int foldersEntered() const { return foldersEntered_; }
    int filesFound() const { return filesFound_; }

private:
    bool stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    const std::atomic<bool>* stop_;
    bool keepToDrives_ = false;
    std::set<QByteArray> driveRoots_;                                      // real paths
    std::set<std::pair<unsigned long long, unsigned long long>> entered_;  // device and inode
    int foldersEntered_ = 0;
    int filesFound_ = 0;
};

// Runs a FolderWalk on a thread of its own and hands what it finds to the thread that started it, then tells
// that it ended. cancel() stops the walk at its next entry; what was found before is still handed over.
//
// The walk reads a tree faster than a list can take its lines, so the files wait in a queue and are handed
// over in parts of at most kMostPerHandOver, for at most the pass budget in one pass of the receiving thread's
// event loop: between two passes the window paints and takes clicks, however fast the files come. Every pass
// also costs the list a new layout of all its lines, so a pass takes as many parts as its budget allows, and
// while the walk runs a pass begins at most once per hand-over interval: the first files show at once, then the
// list grows in steps, and a long search lays out its list a few times instead of once per part. A backlog left
// by a full pass goes on once the event loop has had its turn, timers included; once the walk has ended, the
// rest follows without waiting for the interval. The walk's thread queues names (FoundNames); the receiving
// thread makes the files' strings as it hands them over.
class FolderWalkJob : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kMostPerHandOver = 1024;
    static constexpr int kPassBudgetMs = 15;
    static constexpr int kHandOverIntervalMs = 25;

    explicit FolderWalkJob(QObject* parent = nullptr);
    // Stops a walk still running and waits for its thread.
    ~FolderWalkJob() override;

    // Starts walking `folder`; false when a walk is already running.
    bool start(const QString& folder);
    // The drive search: walks `drives` one after the other in one FolderWalk kept to them (keepToDrives).
    // driveStarted tells each drive as its walk begins; a cancel ends the whole search.
    bool startDrives(const QStringList& drives);
    void cancel();
    // The time one pass of the event loop may spend handing over parts (0: one part a pass).
    void setPassBudgetMs(int ms) { passBudgetMs_ = ms; }
    // The shortest time from one pass to the next while the walk runs and no backlog waits (0: no pause).
    void setHandOverIntervalMs(int ms) { handOverIntervalMs_ = ms; }
    bool running() const { return running_; }
    bool cancelled() const { return stop_->load(); }

signals:
    void found(const std::vector<vorlo::FoundFile>& files);
    // The folder the walk has just entered, and how many files it has found so far (at most a few times a second).
    void progress(const QString& folder, int filesFound);
    void finished(bool cancelled);
    // The drive search has begun walking `drive`.
    void driveStarted(const QString& drive);

private:
    void joinThread();
    bool startWalks(const QStringList& folders, bool drives);
    // Walking thread: queues files for the receiving thread.
    void deliver(std::vector<FoundNames>& found);
    // Receiving thread: the next part's names out of the queue (at most kMostPerHandOver files); whether more wait.
    bool takePart(std::vector<FoundNames>& part);
    // Receiving thread: a pass of hand-overs, or the wait for the interval's end; the end is told once the queue
    // is empty.
    void handOverNext();

    std::shared_ptr<std::atomic<bool>> stop_;
    QThread* thread_ = nullptr;
    bool running_ = false;
    bool walkEnded_ = false;  // receiving thread
    int passBudgetMs_ = kPassBudgetMs;
    int handOverIntervalMs_ = kHandOverIntervalMs;
    QElapsedTimer sinceLastPass_;  // receiving thread; invalid before the first pass
    bool backlog_ = false;         // receiving thread: the last pass ended with its budget, files still waiting
    QTimer* interval_;             // receiving thread: the wait for the next pass

    // The walk's thread makes no string per file: the receiving thread converts the names as it hands them over.
    std::mutex queueLock_;
    std::deque<FoundNames> queue_;  // under queueLock_
    std::size_t frontTaken_ = 0;    // under queueLock_: files of queue_.front() handed over already
    bool handOverPosted_ = false;   // under queueLock_
};

}  // namespace vorlo

Q_DECLARE_METATYPE(std::vector<vorlo::FoundFile>)
