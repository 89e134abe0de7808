#include "core/settings/Options.h"

#include "os/Registry.h"

#include <QFileInfo>

namespace vorlo {

namespace {

// Reads of values that may be absent or of another type: the default stays in force.
void readInt(const Registry& registry, const char* name, int& target) {
    if (registry.valueType(QLatin1String(name)) == RegistryValue::Type::DWord)
        target = registry.readInteger(QLatin1String(name));
}

void readInt(const Registry& registry, const char* name, std::optional<int>& target) {
    if (registry.valueType(QLatin1String(name)) == RegistryValue::Type::DWord)
        target = registry.readInteger(QLatin1String(name));
}

void readBool(const Registry& registry, const char* name, bool& target) {
    if (registry.valueType(QLatin1String(name)) == RegistryValue::Type::DWord)
        target = registry.readBool(QLatin1String(name));
}

bool readString(const Registry& registry, const char* name, QString& target) {
    if (registry.valueType(QLatin1String(name)) != RegistryValue::Type::String) return false;
    target = registry.readString(QLatin1String(name));
    return true;
}

}  // namespace

QString Options::folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool Options::read(Registry& registry, const QString& runningFolder) {
    const QString key = QLatin1String(kKey);
    programFolder = runningFolder;
    if (registry.openKeyReadOnly(QLatin1Char('\\') + key + QStringLiteral("\\Folder"))) {
        QString folder;
        if (readString(registry, "", folder) && !folder.isEmpty()) programFolder = folder;
        registry.closeKey();
    }
    resetFile = defaultResetFile();

    if (!registry.openKeyReadOnly(QLatin1Char('\\') + key + QStringLiteral("\\Options"))) return false;

    readInt(registry, "Top", top);
    readInt(registry, "Left", left);
    readBool(registry, "PlayList", playList);
    readBool(registry, "FileBox", fileBox);
    readBool(registry, "TrackBar", trackBar);
    readBool(registry, "Menu", menu);
    readBool(registry, "Counter", counter);
    readBool(registry, "ToolBar", toolBar);
    readInt(registry, "ADDPLAY", addPlay);
    readBool(registry, "Hide", hide);
    readInt(registry, "TimeCount", timeCount);
    timeCount = timeCount != 0 ? 1 : 0;
    readBool(registry, "StayOnTop", stayOnTop);
    readBool(registry, "AutoPlay", autoPlay);
    readBool(registry, "LoopPlay", loopPlay);
    readBool(registry, "RepeatPlay", repeatPlay);
    readBool(registry, "RandomPlay", randomPlay);
    readBool(registry, "ShufflePlay", shufflePlay);

    // An existing but empty RESETFILE means "no reset"; only a missing one falls back to the GM reset file.
    QString storedReset;
    if (readString(registry, "RESETFILE", storedReset)) resetFile = storedReset;

    readBool(registry, "AutoLoad", autoLoad);
    readBool(registry, "AUTOCHECK", autoCheck);
    readBool(registry, "LISTCLOSE", listClose);

    QString list;
    if (readString(registry, "AutoLoadList", list)) autoLoadList = list;
    if (!QFileInfo::exists(autoLoadList)) autoLoadList = QStringLiteral("*.mpl");
    readString(registry, "ListDirectory", listDirectory);
    readInt(registry, "LastOne", lastOne);
    QString folder;
    if (readString(registry, "MIDIDirectory", folder) && !folder.isEmpty()) midiDirectory = folder;
    readInt(registry, "SKIP", skip);
    readInt(registry, "WAIT", wait);
    readBool(registry, "OneTouch", oneTouch);

    int storedFilter = filter;
    readInt(registry, "FILTER", storedFilter);
    if (storedFilter >= 0 && storedFilter < kFilterCount) filter = storedFilter;

    readInt(registry, "WindowState", windowState);
    readInt(registry, "Height", clientHeight);
    readInt(registry, "Width", clientWidth);
    registry.closeKey();
    return true;
}

void Options::save(Registry& registry, const QStringList& history) const {
    registry.openKey(QLatin1Char('\\') + QLatin1String(kKey), true);
    registry.writeString(QString(), QLatin1String(kDefaultValue));
    registry.openKey(QStringLiteral("Options"), true);

    if (top) registry.writeInteger(QStringLiteral("Top"), *top);
    if (left) registry.writeInteger(QStringLiteral("Left"), *left);
    if (clientHeight) registry.writeInteger(QStringLiteral("Height"), *clientHeight);
    if (clientWidth) registry.writeInteger(QStringLiteral("Width"), *clientWidth);
    if (windowState) registry.writeInteger(QStringLiteral("WindowState"), *windowState);

    registry.writeBool(QStringLiteral("FileBox"), fileBox);
    registry.writeBool(QStringLiteral("PlayList"), playList);
    registry.writeBool(QStringLiteral("TrackBar"), trackBar);
    registry.writeBool(QStringLiteral("Menu"), menu);
    registry.writeBool(QStringLiteral("Counter"), counter);
    registry.writeBool(QStringLiteral("ToolBar"), toolBar);
    registry.writeBool(QStringLiteral("Hide"), hide);
    registry.writeBool(QStringLiteral("TimeCount"), timeCount != 0);
    registry.writeBool(QStringLiteral("StayOnTop"), stayOnTop);
    registry.writeBool(QStringLiteral("AUTOCHECK"), autoCheck);
    registry.writeBool(QStringLiteral("LISTCLOSE"), listClose);
    registry.writeBool(QStringLiteral("AutoPlay"), autoPlay);
    registry.writeBool(QStringLiteral("LoopPlay"), loopPlay);
    registry.writeBool(QStringLiteral("RepeatPlay"), repeatPlay);
    registry.writeBool(QStringLiteral("RandomPlay"), randomPlay);
    registry.writeBool(QStringLiteral("ShufflePlay"), shufflePlay);
    registry.writeBool(QStringLiteral("AutoLoad"), autoLoad);
    registry.writeInteger(QStringLiteral("ADDPLAY"), addPlay);

    if (!history.isEmpty()) {
        registry.writeString(QStringLiteral("AutoLoadList"), history.first());
        registry.writeString(QStringLiteral("ListDirectory"), folderOf(history.first()));
    }

    registry.writeString(QStringLiteral("RESETFILE"), resetFile);
    registry.writeInteger(QStringLiteral("LastOne"), lastOne);
    registry.writeString(QStringLiteral("MIDIDirectory"), midiDirectory);
    registry.writeInteger(QStringLiteral("SKIP"), skip);
    registry.writeInteger(QStringLiteral("WAIT"), wait);
    registry.writeBool(QStringLiteral("OneTouch"), oneTouch);
    registry.writeInteger(QStringLiteral("FILTER"), filter);
    registry.closeKey();
}

}  // namespace vorlo
