#include "core/filebox/FolderWalk.h"

#include "core/playlist/MediaPaths.h"
#include "os/NativePath.h"
#include "zip/MemberNames.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>
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

// One allocation: a search makes a path for every song it finds.
QString childOf(const QString& folder, const QString& name) {
    const bool slash = !folder.endsWith(QLatin1Char('/'));
    QString path;
    path.reserve(folder.size() + (slash ? 1 : 0) + name.size());
    path.append(folder);
    if (slash) path.append(QLatin1Char('/'));
    path.append(name);
    return path;
}

QByteArray realPathOf(const QByteArray& path) {
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved) return {};
    QByteArray real(resolved);
    std::free(resolved);
    return real;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A name as the player holds it (every name can be held, its bytes kept: os/NativePath), converted once.
QString nameOf(std::string_view bytes) { return decodePath(QByteArrayView(bytes.data(), qsizetype(bytes.size()))); }

// Whether a file of this name is played, decided on its bytes (most names of a tree are not, and are never
// converted); a name with a non-ASCII extension takes the player's own rule on the converted name.
bool playableName(std::string_view bytes) {
    const std::size_t dot = bytes.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = bytes.substr(dot);
    if (!isAscii(extension)) {
        return IsPlayableExt(extensionLowered(decodePath(QByteArrayView(bytes.data(), qsizetype(bytes.size())))));
    }
    std::array<char, 8> lowered{};
    if (extension.size() > lowered.size()) return false;  // longer than every extension played
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = extension[i];
        lowered[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return zip::isPlayableExtension(std::string_view(lowered.data(), extension.size()));
}

// One entry of a folder's listing: where its name starts in the folder's names, and the type the listing gave
// (DT_UNKNOWN on file systems that do not tell, then the entry is looked at).
struct Listed {
    qsizetype offset;
    qsizetype length;
    unsigned char type;
};

struct Frame {
    QByteArray path;
    QString decodedPath;
    QByteArray realPath;
    QByteArray names;  // the visible entries' names, one after the other
    std::vector<Listed> entries;
    std::vector<FoundNames::Span> found;  // played files not handed over yet
    std::size_t next = 0;
    dev_t device = 0;  // the file system the folder is on

    std::string_view name(const Listed& entry) const {
        return {names.constData() + entry.offset, static_cast<std::size_t>(entry.length)};
    }
};

// The visible entries of a folder in the order the file system lists them; false when it cannot be read.
bool readFolder(Frame& frame) {
    DIR* dir = ::opendir(frame.path.constData());
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden entries
        const qsizetype length = static_cast<qsizetype>(std::strlen(entry->d_name));
        frame.entries.push_back({frame.names.size(), length, entry->d_type});
        frame.names.append(entry->d_name, length);
    }
    ::closedir(dir);
    return true;
}

}  // namespace

void FolderWalk::keepToDrives(const QStringList& drives) {
    keepToDrives_ = true;
    driveRoots_.clear();
    for (const QString& drive : drives) {
        const QByteArray real = realPathOf(encodePath(drive));
        if (!real.isEmpty()) driveRoots_.insert(real);
    }
}

FoundFile FoundNames::file(std::size_t index) const {
    const Span& span = files.at(index);
    QString name = nameOf(std::string_view(listing.constData() + span.offset, static_cast<std::size_t>(span.length)));
    QString path = childOf(folder, name);
    return {std::move(path), std::move(name)};
}

bool FolderWalk::walk(const QString& folder, const FileSink& onFile, const FolderSink& onFolder) {
    bool stoppedInGroup = false;
    const bool ended = walkNames(
        folder,
        [&](FoundNames&& names) {
            for (std::size_t index = 0; index < names.size() && !stoppedInGroup; ++index) {
                // A stop set while a group is handed over takes effect at its next file, as at the next entry.
                if (index > 0 && stopped()) {
                    stoppedInGroup = true;
                    break;
                }
                onFile(names.file(index));
            }
        },
        onFolder);
    return ended && !stoppedInGroup;
}

bool FolderWalk::walkNames(const QString& folder, const NamesSink& onNames, const FolderSink& onFolder) {
    QByteArray root = encodePath(folder);
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
    const auto enter = [&](QByteArray path, QString decodedPath, QByteArray realPath, dev_t device) {
        Frame frame{std::move(path), std::move(decodedPath), std::move(realPath), {}, {}, {}, 0, device};
        if (!readFolder(frame)) return;  // a folder that cannot be read is left out
        ++foldersEntered_;
        if (onFolder) onFolder(frame.decodedPath);
        stack.push_back(std::move(frame));
    };
    // The files of a folder found so far go before anything of a subfolder, and before the walk ends or stops.
    const auto handOver = [&](Frame& frame) {
        if (frame.found.empty()) return;
        FoundNames names{frame.decodedPath, frame.names, std::move(frame.found)};
        frame.found = {};
        onNames(std::move(names));
    };
    const auto offerFile = [&](Frame& in, const Listed& listed) {
        if (!playableName(in.name(listed))) return;
        ++filesFound_;
        in.found.push_back({listed.offset, listed.length});
    };
    const QString decodedRoot = decodePath(root);
    enter(root, decodedRoot, realRoot, status.st_dev);

    while (!stack.empty()) {
        if (stopped()) {
            handOver(stack.back());
            return false;
        }
        Frame& top = stack.back();
        if (top.next == top.entries.size()) {
            handOver(top);
            stack.pop_back();
            continue;
        }
        const Listed listed = top.entries[top.next++];
        const std::string_view bytes = top.name(listed);

        // A regular file is known from the listing alone.
        if (listed.type == DT_REG) {
            offerFile(top, listed);
            continue;
        }
        if (listed.type != DT_DIR && listed.type != DT_LNK && listed.type != DT_UNKNOWN) continue;  // devices

        const QByteArray nameBytes(bytes.data(), static_cast<qsizetype>(bytes.size()));
        const QByteArray path = childOf(top.path, nameBytes);
        struct stat entry {};
        if (::lstat(path.constData(), &entry) != 0) continue;
        const bool link = S_ISLNK(entry.st_mode);
        if (link && ::stat(path.constData(), &entry) != 0) continue;  // a link to nothing

        if (S_ISDIR(entry.st_mode)) {
            QByteArray realPath = link ? realPathOf(path) : childOf(top.realPath, nameBytes);
            if (realPath.isEmpty() || insidePseudoTree(realPath)) continue;
            // Another file system (a mount point, or a link into one) belongs to the search only as a drive.
            if (keepToDrives_ && entry.st_dev != top.device && driveRoots_.count(realPath) == 0) continue;
            if (!entered.insert({entry.st_dev, entry.st_ino}).second) continue;
            QString decodedPath = childOf(top.decodedPath, nameOf(bytes));
            handOver(top);
            enter(path, std::move(decodedPath), std::move(realPath), entry.st_dev);  // `top` may move from here on
        } else if (S_ISREG(entry.st_mode)) {
            offerFile(top, listed);
        }
    }
    return true;
}

FolderWalkJob::FolderWalkJob(QObject* parent)
    : QObject(parent), stop_(std::make_shared<std::atomic<bool>>(false)), interval_(new QTimer(this)) {
    qRegisterMetaType<std::vector<FoundFile>>();
    interval_->setSingleShot(true);
    connect(interval_, &QTimer::timeout, this, &FolderWalkJob::handOverNext);
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
    walkEnded_ = false;
    backlog_ = false;
    sinceLastPass_.invalidate();
    thread_ = QThread::create([this, folders, drives, stop = stop_] {
        FolderWalk walk(stop.get());
        if (drives) walk.keepToDrives(folders);
        std::vector<FoundNames> batch;
        std::size_t batchFiles = 0;
        QElapsedTimer sinceBatch;
        QElapsedTimer sinceProgress;
        sinceBatch.start();
        sinceProgress.start();
        // The first files show at once; then the queue takes them in blocks, which costs the walk one lock each.
        const auto handOver = [&] {
            if (batch.empty()) return;
            deliver(batch);
            batchFiles = 0;
            sinceBatch.restart();
        };
        for (const QString& folder : folders) {
            if (stop->load()) break;
            if (drives) emit driveStarted(folder);
            walk.walkNames(
                folder,
                [&](FoundNames&& names) {
                    batchFiles += names.size();
                    batch.push_back(std::move(names));
                    if (batchFiles >= kMostPerHandOver || sinceBatch.elapsed() >= 50) handOver();
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
        walkEnded_ = true;
        bool posted = false;
        {
            const std::lock_guard<std::mutex> lock(queueLock_);
            posted = handOverPosted_;
        }
        // A hand-over on its way ends the queue and tells the end; one waiting for its interval waits no longer,
        // but still goes through the event loop (the pass before may have just ended); otherwise the queue is
        // empty already.
        if (interval_->isActive()) {
            interval_->start(0);
        } else if (!posted) {
            handOverNext();
        }
    });
    thread_->start();
    return true;
}

void FolderWalkJob::deliver(std::vector<FoundNames>& found) {
    bool post = false;
    {
        const std::lock_guard<std::mutex> lock(queueLock_);
        queue_.insert(queue_.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
        post = !std::exchange(handOverPosted_, true);
    }
    found.clear();
    if (post) QMetaObject::invokeMethod(this, &FolderWalkJob::handOverNext, Qt::QueuedConnection);
}

bool FolderWalkJob::takePart(std::vector<FoundNames>& part) {
    const std::lock_guard<std::mutex> lock(queueLock_);
    std::size_t room = kMostPerHandOver;
    while (room > 0 && !queue_.empty()) {
        FoundNames& front = queue_.front();
        const std::size_t left = front.size() - frontTaken_;
        if (frontTaken_ == 0 && left <= room) {
            part.push_back(std::move(front));
            queue_.pop_front();
            room -= left;
            continue;
        }
        // A group larger than the room left goes over in pieces (the names themselves are shared, not copied).
        const std::size_t taken = std::min(left, room);
        const auto first = front.files.begin() + static_cast<std::ptrdiff_t>(frontTaken_);
        part.push_back({front.folder, front.listing, {first, first + static_cast<std::ptrdiff_t>(taken)}});
        frontTaken_ += taken;
        room -= taken;
        if (frontTaken_ == front.size()) {
            queue_.pop_front();
            frontTaken_ = 0;
        }
    }
    const bool more = !queue_.empty();
    // The walk posts again only when no hand-over is on its way; the rest of the queue is ours to post.
    handOverPosted_ = more;
    return more;
}

void FolderWalkJob::handOverNext() {
    // While the walk runs, a pass waits for the interval since the last one (the hand-over stays "posted", so the
    // walk does not post another); a backlog goes on at once.
    if (!walkEnded_ && !backlog_ && sinceLastPass_.isValid()) {
        const qint64 wait = handOverIntervalMs_ - sinceLastPass_.elapsed();
        if (wait > 0) {
            interval_->start(int(wait));
            return;
        }
    }
    QElapsedTimer pass;
    pass.start();
    bool more = true;
    // Parts go over until the pass has had its time; the rest waits for the next pass of the event loop.
    do {
        std::vector<FoundNames> names;
        more = takePart(names);
        std::size_t count = 0;
        for (const FoundNames& group : names) count += group.size();
        std::vector<FoundFile> part;
        part.reserve(count);
        for (const FoundNames& group : names) {
            for (std::size_t index = 0; index < group.size(); ++index) part.push_back(group.file(index));
        }
        if (!part.empty()) emit found(part);
    } while (more && pass.elapsed() < passBudgetMs_);
    sinceLastPass_.start();
    backlog_ = more;
    if (more) {
        // The rest goes on from a timer due in 1 ms: a posted call, or a timer due at once, ran the next pass
        // before the timers that fell due during this one (the window's repaints among them), and several passes
        // went by without a paint.
        interval_->start(1);
    } else if (walkEnded_ && running_) {
        running_ = false;
        emit finished(stop_->load());
    }
}

void FolderWalkJob::cancel() { stop_->store(true); }

}  // namespace vorlo
