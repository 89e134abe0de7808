#include "core/settings/ClassStore.h"

#include "os/RegistryHive.h"

namespace vorlo {

namespace {

QString defaultString(const RegistryHive& hive, const QString& keyPath) {
    const RegistryHive::Key* key = hive.findKey(keyPath);
    const RegistryValue* value = key ? RegistryHive::value(*key, QString()) : nullptr;
    return value && value->type == RegistryValue::Type::String ? value->text : QString();
}

RegistryValue stringValue(const QString& text) {
    RegistryValue value;
    value.text = text;
    return value;
}

// A class name that would put its command keys at the root of the store.
bool namesNoClass(const QString& className) { return RegistryHive::normalisePath(className).isEmpty(); }

}  // namespace

ClassStore::ClassStore(RegistryHive& hive, PlayerCommands commands) : hive_(hive), commands_(std::move(commands)) {}

PlayerCommands ClassStore::playerCommands(const RegistryHive& hive) {
    const QString playlist = QLatin1String(kPlaylistClass);
    return {defaultString(hive, commandKey(playlist, Verb::Open)),
            defaultString(hive, commandKey(playlist, Verb::Play))};
}

QString ClassStore::defaultClass(const QString& extension) {
    const QString lowered = extension.toLower();
    if (lowered == QLatin1String(".avi")) return QStringLiteral("avifile");
    if (lowered == QLatin1String(".mid")) return QStringLiteral("midfile");
    if (lowered == QLatin1String(".wav")) return QStringLiteral("SoundRec");
    if (lowered == QLatin1String(".cda")) return QStringLiteral("cdafile");
    return {};
}

qsizetype ClassStore::fileNameStart(const QString& command) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command[i];
        const bool folder = c == QLatin1Char('/') && (i == 0 || command[i - 1] != QLatin1Char(' '));
        if (c == QLatin1Char('\\') || c == QLatin1Char(':') || folder) start = i + 1;
    }
    return start;
}

QString ClassStore::fileNamePart(const QString& command) { return command.mid(fileNameStart(command)); }

QString ClassStore::commandKey(const QString& className, Verb verb) {
    return className +
           (verb == Verb::Open ? QStringLiteral("\\shell\\open\\command") : QStringLiteral("\\shell\\play\\command"));
}

QString ClassStore::commandOf(Verb verb) const { return verb == Verb::Open ? commands_.open : commands_.play; }

QString ClassStore::ClassOf(const QString& extension) {
    if (const RegistryHive::Key* key = hive_.findKey(extension)) {
        const RegistryValue* value = RegistryHive::value(*key, QString());
        return value && value->type == RegistryValue::Type::String ? value->text : QString();
    }
    const QString className = defaultClass(extension);
    RegistryHive::setValue(hive_.createKey(extension), QString(), stringValue(className));
    changed_ = true;
    return className;
}

bool ClassStore::IsAssociated(const QString& className) const {
    if (namesNoClass(className) || !commands_.isComplete()) return false;
    return defaultString(hive_, commandKey(className, Verb::Open)) == commands_.open &&
           defaultString(hive_, commandKey(className, Verb::Play)) == commands_.play;
}

void ClassStore::Associate(const QString& className) {
    if (namesNoClass(className) || !commands_.isComplete()) return;
    for (const Verb verb : {Verb::Open, Verb::Play}) {
        const QString ours = commandOf(verb);
        RegistryHive::Key& key = hive_.createKey(commandKey(className, verb));
        const RegistryValue* value = RegistryHive::value(key, QString());
        const QString current = value ? value->text : QString();
        if (value && current == ours) continue;
        if (fileNamePart(current) != fileNamePart(ours) && !RegistryHive::value(key, QLatin1String(kBackupValue)))
            RegistryHive::setValue(key, QLatin1String(kBackupValue), stringValue(current));
        RegistryHive::setValue(key, QString(), stringValue(ours));
        changed_ = true;
    }
}

void ClassStore::Unassociate(const QString& className) {
    if (namesNoClass(className)) return;
    for (const Verb verb : {Verb::Open, Verb::Play}) {
        RegistryHive::Key* key = hive_.findKey(commandKey(className, verb));
        const RegistryValue* backup = key ? RegistryHive::value(*key, QLatin1String(kBackupValue)) : nullptr;
        if (!backup) continue;
        const RegistryValue previous = *backup;
        RegistryHive::setValue(*key, QString(), previous);
        RegistryHive::deleteValue(*key, QLatin1String(kBackupValue));
        changed_ = true;
    }
}

}  // namespace vorlo
