#pragma once

#include "os/RegistryHive.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vorlo {

enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

// Values to be written together (see Registry::write): key paths as for Registry::openKey, so a path without a
// leading backslash is relative to the key open when the batch is written.
class RegistryBatch {
public:
    void writeString(const QString& keyPath, const QString& name, const QString& value);
    void writeInteger(const QString& keyPath, const QString& name, int value);
    void writeBool(const QString& keyPath, const QString& name, bool value);
    bool isEmpty() const { return entries_.empty(); }

private:
    friend class Registry;
    struct Entry {
        QString keyPath;
        QString name;
        RegistryValue value;
    };
    std::vector<Entry> entries_;
};

// The settings store of the player and of setup: keys and values under three roots, each kept in one
// human-readable hive file in the user's configuration folder (VORLO_CONFIG_DIR moves it). Every write re-reads
// the file under a lock, changes it and replaces it atomically, so two processes writing at once lose nothing
// and a crash never leaves half a file. A damaged hive file raises RegistryError and is never overwritten.
//
// Used like the classic registry object: open a key (absolute, or relative to the open key), then read and
// write its values.
class Registry {
public:
    explicit Registry(RegistryRoot root = RegistryRoot::CurrentUser);

    static QString folder();
    static QString hiveFile(RegistryRoot root);

    // Opens `path`; a path without a leading backslash is relative to the open key. Returns false when the key
    // does not exist and may not be created.
    bool openKey(const QString& path, bool canCreate);
    bool openKeyReadOnly(const QString& path) { return openKey(path, false); }
    void closeKey();
    QString currentPath() const { return current_; }
    bool hasCurrentKey() const { return open_; }

    bool keyExists(const QString& path) const;
    bool deleteKey(const QString& path);  // with every subkey; false when it did not exist
    QStringList subKeyNames() const;

    bool valueExists(const QString& name) const;
    std::optional<RegistryValue::Type> valueType(const QString& name) const;
    QStringList valueNames() const;
    // Reads throw RegistryError when the value is missing or has another type.
    QString readString(const QString& name) const;
    int readInteger(const QString& name) const;
    bool readBool(const QString& name) const;  // any non-zero number is true

    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, int value);
    void writeBool(const QString& name, bool value);
    bool deleteValue(const QString& name);

    // Writes every value of the batch, creating the keys they need, in one rewrite of the hive file: a crash
    // leaves either all of them or none. Throws RegistryError; nothing is written then.
    void write(const RegistryBatch& batch);

    // Runs `edit` on the hive as it is now, under the writers' lock, and replaces the file with the result in one
    // write: several changes that belong together (and decisions that depend on what the hive holds) are kept
    // whole. `edit` returns false when it changed nothing; the file is then left as it is. When `edit` throws,
    // nothing is written and the exception goes on. Throws RegistryError when the file cannot be read or written.
    void change(const std::function<bool(RegistryHive&)>& edit);

    // Moves a damaged hive file of `root` out of the way, under the writers' lock, so that the store starts afresh
    // while the user keeps the file: it becomes "<hive>.damaged", or "<hive>.damaged-2", "-3", ... when that name
    // is taken. Returns the name it now has; empty when the file is missing or not damaged (any more). Throws
    // RegistryError when it cannot be moved.
    static QString setAsideDamaged(RegistryRoot root);

private:
    QString absolute(const QString& path) const;
    RegistryHive load() const;
    // Runs `change` on the freshly read hive under the writers' lock and saves the result atomically.
    void modify(const std::function<void(RegistryHive&)>& change);
    const RegistryValue& requireValue(const QString& name, RegistryValue::Type type) const;

    RegistryRoot root_;
    QString file_;
    QString current_;
    bool open_ = false;
    mutable RegistryHive snapshot_;  // the hive as last read or written by this object
};

}  // namespace vorlo
