#include "os/Registry.h"

#include "os/RegularFile.h"
#include "os/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vorlo {

namespace {

QString rootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
        case RegistryRoot::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
        case RegistryRoot::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    }
    return {};
}

// The writers' lock of one hive: an exclusive advisory lock on a companion file, released by the kernel even
// when the holder dies.
class HiveLock {
public:
    explicit HiveLock(const QString& hiveFile) {
        const QString lockFile = hiveFile + QStringLiteral(".lock");
        const QByteArray name = QFile::encodeName(lockFile);
        // Never through a link: opening with O_CREAT would create or take whatever file the link names, and
        // nobody but the player puts a file there. O_NONBLOCK keeps a FIFO from holding the open.
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd_ < 0) {
            const int error = errno;
            throw RegistryError(QStringLiteral("Cannot lock the settings file %1: %2")
                                    .arg(hiveFile, error == ELOOP ? lockFile + QStringLiteral(" is a symbolic link.")
                                                                  : QString::fromLocal8Bit(std::strerror(error))));
        }
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd_);
            throw RegistryError(
                QStringLiteral("Cannot lock the settings file %1: %2 is not a regular file.").arg(hiveFile, lockFile));
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                const int error = errno;
                ::close(fd_);
                throw RegistryError(QStringLiteral("Cannot lock the settings file %1: %2")
                                        .arg(hiveFile, QString::fromLocal8Bit(std::strerror(error))));
            }
        }
    }
    ~HiveLock() {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace

Registry::Registry(RegistryRoot root) : root_(root), file_(hiveFile(root)) {}

QString Registry::folder() {
    const QByteArray configured = qgetenv("VORLO_CONFIG_DIR");
    if (!configured.isEmpty()) return QFile::decodeName(configured);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/MIDI Vorlo");
}

QString Registry::hiveFile(RegistryRoot root) {
    return folder() + QLatin1Char('/') + rootName(root) + QStringLiteral(".reg");
}

QString Registry::absolute(const QString& path) const {
    if (path.startsWith(QLatin1Char('\\')) || !open_ || current_.isEmpty()) return RegistryHive::normalisePath(path);
    return RegistryHive::normalisePath(current_ + QLatin1Char('\\') + path);
}

RegistryHive Registry::load() const {
    if (!QFileInfo::exists(file_)) return {};
    // Only a regular file: a FIFO in the hive's place would hold the player before its window for ever.
    const FileHead hive = readFileHead(file_);
    if (!hive.error.isEmpty())
        throw RegistryError(QStringLiteral("Cannot read the settings file %1: %2").arg(file_, hive.error));
    return RegistryHive::parse(hive.bytes, file_);
}

void Registry::modify(const std::function<void(RegistryHive&)>& change) {
    this->change([&](RegistryHive& hive) {
        change(hive);
        return true;
    });
}

void Registry::change(const std::function<bool(RegistryHive&)>& edit) {
    if (!QDir().mkpath(folder()))
        throw RegistryError(QStringLiteral("Cannot create the settings folder %1").arg(folder()));
    HiveLock lock(file_);
    RegistryHive hive = load();  // another process may have written since we last looked
    if (!edit(hive)) {
        snapshot_ = std::move(hive);
        return;
    }
    try {
        SafeSave::write(file_, hive.serialise(), SafeSave::Links::Refuse);
    } catch (const SafeSaveError& error) {
        throw RegistryError(QStringLiteral("Cannot write the settings file %1: %2").arg(file_, error.reason()));
    }
    snapshot_ = std::move(hive);
}

void RegistryBatch::writeString(const QString& keyPath, const QString& name, const QString& value) {
    RegistryValue v;
    v.type = RegistryValue::Type::String;
    v.text = value;
    entries_.push_back({keyPath, name, v});
}

void RegistryBatch::writeInteger(const QString& keyPath, const QString& name, int value) {
    RegistryValue v;
    v.type = RegistryValue::Type::DWord;
    v.number = static_cast<std::uint32_t>(value);
    entries_.push_back({keyPath, name, v});
}

void RegistryBatch::writeBool(const QString& keyPath, const QString& name, bool value) {
    writeInteger(keyPath, name, value ? 1 : 0);
}

void Registry::write(const RegistryBatch& batch) {
    if (batch.isEmpty()) return;
    std::vector<QString> paths;
    paths.reserve(batch.entries_.size());
    for (const RegistryBatch::Entry& entry : batch.entries_) paths.push_back(absolute(entry.keyPath));
    modify([&](RegistryHive& hive) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const RegistryBatch::Entry& entry = batch.entries_[i];
            RegistryHive::setValue(hive.createKey(paths[i]), entry.name, entry.value);
        }
    });
}

QString Registry::setAsideDamaged(RegistryRoot root) {
    const QString file = hiveFile(root);
    if (!QFile::exists(file)) return {};
    HiveLock lock(file);
    const FileHead bytes = readFileHead(file);
    if (!bytes.error.isEmpty()) return {};  // gone meanwhile, or unreadable rather than damaged
    QFile hive(file);
    try {
        RegistryHive::parse(bytes.bytes, file);
        return {};  // another process has put a good file in its place
    } catch (const RegistryError& error) {
        if (!error.isDamagedFile()) throw;
    }
    QString kept = file + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(kept) || QFileInfo(kept).isSymLink(); ++n)
        kept = file + QStringLiteral(".damaged-%1").arg(n);
    if (!hive.rename(kept))
        throw RegistryError(
            QStringLiteral("Cannot move the damaged settings file %1 aside: %2").arg(file, hive.errorString()));
    return kept;
}

bool Registry::openKey(const QString& path, bool canCreate) {
    const QString target = absolute(path);
    snapshot_ = load();
    if (!snapshot_.hasKey(target)) {
        if (!canCreate) return false;
        modify([&](RegistryHive& hive) { hive.createKey(target); });
    }
    current_ = snapshot_.findKey(target)->path;
    open_ = true;
    return true;
}

void Registry::closeKey() {
    open_ = false;
    current_.clear();
}

bool Registry::keyExists(const QString& path) const { return load().hasKey(absolute(path)); }

bool Registry::deleteKey(const QString& path) {
    const QString target = absolute(path);
    bool existed = false;
    modify([&](RegistryHive& hive) { existed = hive.deleteKey(target); });
    return existed;
}

QStringList Registry::subKeyNames() const { return snapshot_.subKeyNames(current_); }

bool Registry::valueExists(const QString& name) const { return valueType(name).has_value(); }

std::optional<RegistryValue::Type> Registry::valueType(const QString& name) const {
    if (!open_) return std::nullopt;
    const RegistryHive::Key* key = snapshot_.findKey(current_);
    if (!key) return std::nullopt;
    const RegistryValue* value = RegistryHive::value(*key, name);
    if (!value) return std::nullopt;
    return value->type;
}

QStringList Registry::valueNames() const {
    const RegistryHive::Key* key = open_ ? snapshot_.findKey(current_) : nullptr;
    return key ? RegistryHive::valueNames(*key) : QStringList();
}

const RegistryValue& Registry::requireValue(const QString& name, RegistryValue::Type type) const {
    const RegistryHive::Key* key = open_ ? snapshot_.findKey(current_) : nullptr;
    const RegistryValue* value = key ? RegistryHive::value(*key, name) : nullptr;
    if (!value) throw RegistryError(QStringLiteral("The value '%1' does not exist").arg(name));
    if (value->type != type) throw RegistryError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return *value;
}

QString Registry::readString(const QString& name) const { return requireValue(name, RegistryValue::Type::String).text; }

int Registry::readInteger(const QString& name) const {
    return static_cast<int>(requireValue(name, RegistryValue::Type::DWord).number);
}

bool Registry::readBool(const QString& name) const { return readInteger(name) != 0; }

void Registry::writeString(const QString& name, const QString& value) {
    if (!open_) throw RegistryError(QStringLiteral("Failed to set data for '%1': no key is open").arg(name));
    RegistryValue v;
    v.type = RegistryValue::Type::String;
    v.text = value;
    const QString path = current_;
    modify([&](RegistryHive& hive) { RegistryHive::setValue(hive.createKey(path), name, v); });
}

void Registry::writeInteger(const QString& name, int value) {
    if (!open_) throw RegistryError(QStringLiteral("Failed to set data for '%1': no key is open").arg(name));
    RegistryValue v;
    v.type = RegistryValue::Type::DWord;
    v.number = static_cast<std::uint32_t>(value);
    const QString path = current_;
    modify([&](RegistryHive& hive) { RegistryHive::setValue(hive.createKey(path), name, v); });
}

void Registry::writeBool(const QString& name, bool value) { writeInteger(name, value ? 1 : 0); }

bool Registry::deleteValue(const QString& name) {
    if (!open_) return false;
    bool existed = false;
    const QString path = current_;
    modify([&](RegistryHive& hive) {
        if (RegistryHive::Key* key = hive.findKey(path)) existed = RegistryHive::deleteValue(*key, name);
    });
    return existed;
}

}  // namespace vorlo
