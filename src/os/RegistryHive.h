#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vorlo {

// A failure of the settings store: a damaged hive file, a value of the wrong type, a write that failed.
class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(const QString& message) : std::runtime_error(message.toStdString()) {}

    // A hive file that cannot be read: `damage` says where and what ("line 3: ...").
    static RegistryError damagedFile(const QString& fileName, const QString& damage);
    bool isDamagedFile() const { return !damagedFile_.isEmpty(); }
    QString damagedFileName() const { return damagedFile_; }
    QString damage() const { return damage_; }

private:
    QString damagedFile_;
    QString damage_;
};

struct RegistryValue {
    enum class Type { String, DWord };
    Type type = Type::String;
    QString text;
    std::uint32_t number = 0;
};

// The keys and values of one root, in memory. Key paths use backslashes and, like the names of values, are
// matched without regard to case while keeping the spelling they were created with. The unnamed (default)
// value has the empty name.
class RegistryHive {
public:
    struct Key {
        QString path;                         // spelling as created, e.g. "SOFTWARE\Brackwen\MIDI Vorlo"
        QMap<QString, QString> valueNames;    // folded name -> spelling
        QMap<QString, RegistryValue> values;  // folded name -> value
    };

    static QString normalisePath(const QString& path);  // trims backslashes, folds doubled ones

    bool hasKey(const QString& path) const;
    Key* findKey(const QString& path);
    const Key* findKey(const QString& path) const;
    Key& createKey(const QString& path);  // also creates every parent key
    bool deleteKey(const QString& path);  // with all its subkeys
    QStringList subKeyNames(const QString& path) const;

    static const RegistryValue* value(const Key& key, const QString& name);
    static void setValue(Key& key, const QString& name, const RegistryValue& value);
    static bool deleteValue(Key& key, const QString& name);
    static QStringList valueNames(const Key& key);

    // The text form of a hive file. parse() throws RegistryError naming the line that is wrong. An empty (0-byte)
    // file is an empty hive: nothing was ever kept in it, so there is nothing to refuse or to keep.
    QByteArray serialise() const;
    static RegistryHive parse(const QByteArray& text, const QString& fileName);

private:
    static QString fold(const QString& s) { return s.toCaseFolded(); }
    QMap<QString, Key> keys_;  // folded path -> key
};

}  // namespace vorlo
