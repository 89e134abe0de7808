#include "core/filebox/FolderWalk.h"

#include "core/playlist/MediaPaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <dirent.h>
#include <sys/stat.h>
#include <cstdlib>
#include <set>
#include <utility>

namespace vorlo {

namespace {

// Trees of the kernel and of devices: walking them would read device files and endless generated entries.
bool insidePseudoTree(const QByteArray& realPath) {
    for (const char* root : {"/proc", "/sys", "/dev"}) {
        const QByteArray top(root);
        if (realPath == top || realPath.startsWith(top + '/')) return true;
    }
    return false;
}

QByteArray childOf(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray realPathOf(const QByteArray& path) {
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved) return {};
    QByteArray real(resolved);
    std::free(resolved);
    return real;
}

// The visible entries of a folder in the order the file system lists them; false when it cannot be read.
bool readFolder(const QByteArray& path, std::vector<QByteArray>& names) {
    DIR* dir = ::opendir(path.constData());
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden entries
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return true;
}

struct Frame {
    QByteArray path;
    QByteArray realPath;
    std::vector<QByteArray> names;
    std::size_t next = 0;
    dev_t device = 0;  // the file system the folder is on
};

}  // namespace

void FolderWalk::keepToDrives(const QStringList& drives) {
    keepToDrives_ = true;
    driveRoots_.clear();
    for (const QString& drive : drives) {
        const QByteArray real = realPathOf(QFile::encodeName(drive));
        if (!real.isEmpty()) driveRoots_.insert(real);
    }
}

bool FolderWalk::walk(const QString& folder, const FileSink& onFile, const FolderSink& onFolder) {
    QByteArray root = QFile::encodeName(folder);
    while (root.size() > 1 && root.endsWith('/')) root.chop(1);
    const QByteArray realRoot = realPathOf(root);
    struct stat status {};
    if (realRoot.isEmpty() || insidePseudoTree(realRoot) || ::stat(root.constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode))
        return true;

    // Add Folder's walks each start afresh; the drive search remembers its folders from drive to drive.
    if (!keepToDrives_) entered_.clear();
    auto& entered = entered_;
    if (!entered.insert({status.st_dev, status.st_ino}).second) return true;
    std::vector<Frame> stack;
    const auto enter = [&](QByteArray path, QByteArray realPath, dev_t device) {
        Frame frame{std::move(path), std::move(realPath), {}, 0, device};
        if (!readFolder(frame.path, frame.names)) return;  // a folder that cannot be read is left out
        ++foldersEntered_;
        if (onFolder) onFolder(QFile::decodeName(frame.path));
        stack.push_back(std::move(frame));
    };
    enter(root, realRoot, status.st_dev);

    while (!stack.empty()) {
        if (stopped()) return false;
        Frame& top = stack.back();
        if (top.next == top.names.size()) {
            stack.pop_back();
            continue;
        }
        const QByteArray name = top.names[top.next++];
        const QString decodedName = QFile::decodeName(name);
        // A name that does not survive the player's encoding would stand for another file, or for none.
        if (QFile::encodeName(decodedName) != name) continue;
        const QByteArray path = childOf(top.path, name);
        struct stat entry {};
        if (::lstat(path.constData(), &entry) != 0) continue;
        const bool link = S_ISLNK(entry.st_mode);
        if (link && ::stat(path.constData(), &entry) != 0) continue;  // a link to nothing

        if (S_ISDIR(entry.st_mode)) {
            QByteArray realPath = link ? realPathOf(path) : childOf(top.realPath, name);
            if (realPath.isEmpty() || insidePseudoTree(realPath)) continue;
            // Another file system (a mount point, or a link into one) belongs to the search only as a drive.
            if (keepToDrives_ && entry.st_dev != top.device && driveRoots_.count(realPath) == 0) continue;
            if (!entered.insert({entry.st_dev, entry.st_ino}).second) continue;
            enter(path, std::move(realPath), entry.st_dev);  // `top` may move from here on
        } else if (S_ISREG(entry.st_mode) && IsPlayableExt(extensionLowered(decodedName))) {
            ++filesFound_;
            onFile({QFile::decodeName(path), decodedName});
        }
    }
    return true;
}

FolderWalkJob::FolderWalkJob(QObject* parent) : QObject(parent), stop_(std::make_shared<std::atomic<bool>>(false)) {
    qRegisterMetaType<std::vector<FoundFile>>();
}

FolderWalkJob::~FolderWalkJob() {
    stop_->store(true);
    joinThread();
}

void FolderWalkJob::joinThread() {
    if (!thread_) return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

bool FolderWalkJob::start(const QString& folder) { return startWalks({folder}, false); }

bool FolderWalkJob::startDrives(const QStringList& drives) { return startWalks(drives, true); }

bool FolderWalkJob::startWalks(const QStringList& folders, bool drives) {
    if (running_) return false;
    joinThread();
    stop_->store(false);
    running_ = true;
    thread_ = QThread::create([this, folders, drives, stop = stop_] {
        FolderWalk walk(stop.get());
        if (drives) walk.keepToDrives(folders);
        std::vector<FoundFile> batch;
        QElapsedTimer sinceBatch;
        QElapsedTimer sinceProgress;
        sinceBatch.start();
        sinceProgress.start();
        // Small batches at first, so the first files show at once; then about ten a second.
        const auto handOver = [&] {
            if (batch.empty()) return;
            emit found(batch);
            batch.clear();
            sinceBatch.restart();
        };
        for (const QString& folder : folders) {
            if (stop->load()) break;
            if (drives) emit driveStarted(folder);
            walk.walk(
                folder,
                [&](const FoundFile& file) {
                    batch.push_back(file);
                    if (batch.size() >= 4096 || sinceBatch.elapsed() >= 100) handOver();
                },
                [&](const QString& entered) {
                    if (sinceProgress.elapsed() < 100) return;
                    sinceProgress.restart();
                    emit progress(entered, walk.filesFound());
                });
            handOver();
        }
    });
    thread_->setObjectName(QStringLiteral("FolderWalk"));
    connect(thread_, &QThread::finished, this, [this] {
        running_ = false;
        emit finished(stop_->load());
    });
    thread_->start();
    return true;
}

void FolderWalkJob::cancel() { stop_->store(true); }

}  // namespace vorlo
