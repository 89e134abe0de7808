#include "core/settings/Options.h"

#include "os/Registry.h"

#include <QFileInfo>

#include <array>

namespace vorlo {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

// The options key, in the order the save writes it.
const std::array<OptionField, 32> kFields{{
    {"Top", StoredAs::Integer, &Options::top, {}, kWrittenWhenSet},
    {"Left", StoredAs::Integer, &Options::left, {}, kWrittenWhenSet},
    {"Height", StoredAs::Integer, &Options::clientHeight, {}, kWrittenWhenSet},
    {"Width", StoredAs::Integer, &Options::clientWidth, {}, kWrittenWhenSet},
    {"WindowState", StoredAs::Integer, &Options::windowState, {}, kWrittenWhenSet},
    {"FileBox", StoredAs::Bool, &Options::fileBox, true},
    {"PlayList", StoredAs::Bool, &Options::playList, true},
    {"TrackBar", StoredAs::Bool, &Options::trackBar, true},
    {"Menu", StoredAs::Bool, &Options::menu, true},
    {"Counter", StoredAs::Bool, &Options::counter, true},
    {"ToolBar", StoredAs::Bool, &Options::toolBar, true},
    {"Hide", StoredAs::Bool, &Options::hide, false},
    {"TimeCount", StoredAs::Bool, &Options::timeCount, 0},
    {"StayOnTop", StoredAs::Bool, &Options::stayOnTop, false},
    {"AUTOCHECK", StoredAs::Bool, &Options::autoCheck, false},
    {"LISTCLOSE", StoredAs::Bool, &Options::listClose, false},
    {"AutoPlay", StoredAs::Bool, &Options::autoPlay, true},
    {"LoopPlay", StoredAs::Bool, &Options::loopPlay, true},
    {"RepeatPlay", StoredAs::Bool, &Options::repeatPlay, false},
    {"RandomPlay", StoredAs::Bool, &Options::randomPlay, false},
    {"ShufflePlay", StoredAs::Bool, &Options::shufflePlay, false},
    {"AutoLoad", StoredAs::Bool, &Options::autoLoad, true},
    {"ADDPLAY", StoredAs::Integer, &Options::addPlay, 0},
    {"AutoLoadList", StoredAs::String, &Options::autoLoadList, "*.mpl", kFromHistory | kExistingFile},
    {"ListDirectory", StoredAs::String, &Options::listDirectory, "", kFromHistory},
    {"RESETFILE", StoredAs::String, &Options::resetFile, "//Reset//Gm_reset.mid", kInProgramFolder},
    {"LastOne", StoredAs::Integer, &Options::lastOne, 0},
    {"MIDIDirectory", StoredAs::String, &Options::midiDirectory, "", kEmptyKeepsCurrent},
    {"SKIP", StoredAs::Integer, &Options::skip, 5},
    {"WAIT", StoredAs::Integer, &Options::wait, 0},
    {"OneTouch", StoredAs::Bool, &Options::oneTouch, false},
    {"FILTER", StoredAs::Integer, &Options::filter, 0, kFilterIndex},
}};

QString defaultText(const OptionField& field) {
    const char* const* text = std::get_if<const char*>(&field.defaultValue);
    return text ? QString::fromLatin1(*text) : QString();
}

// Puts the default of `field` into `options`. A default that lives in the program folder waits for the folder.
void applyDefault(const OptionField& field, Options& options) {
    if ((field.rules & kInProgramFolder) && options.programFolder.isEmpty()) return;
    std::visit(Overloaded{
                   [&](bool Options::*member) { options.*member = std::get<bool>(field.defaultValue); },
                   [&](int Options::*member) { options.*member = std::get<int>(field.defaultValue); },
                   [&](std::optional<int> Options::*member) { (options.*member).reset(); },
                   [&](QString Options::*member) {
                       const QString text = defaultText(field);
                       options.*member = (field.rules & kInProgramFolder) ? options.programFolder + text : text;
                   },
               },
               field.member);
}

// Takes a stored value when it has the stored type of its option (anything else keeps the value in force).
void readField(const Registry& registry, const OptionField& field, Options& options) {
    const QString name = field.valueName();
    const std::optional<RegistryValue::Type> type = registry.valueType(name);
    const RegistryValue::Type wanted =
        field.storedAs == StoredAs::String ? RegistryValue::Type::String : RegistryValue::Type::DWord;
    if (type != wanted) return;
    std::visit(Overloaded{
                   [&](bool Options::*member) { options.*member = registry.readBool(name); },
                   [&](int Options::*member) {
                       int value = registry.readInteger(name);
                       if (field.storedAs == StoredAs::Bool) value = value != 0 ? 1 : 0;
                       if ((field.rules & kFilterIndex) && (value < 0 || value >= Options::kFilterCount)) return;
                       options.*member = value;
                   },
                   [&](std::optional<int> Options::*member) { options.*member = registry.readInteger(name); },
                   [&](QString Options::*member) {
                       const QString value = registry.readString(name);
                       if ((field.rules & kEmptyKeepsCurrent) && value.isEmpty()) return;
                       options.*member = value;
                   },
               },
               field.member);
}

void writeField(RegistryBatch& batch, const QString& key, const OptionField& field, const Options& options) {
    const QString name = field.valueName();
    std::visit(Overloaded{
                   [&](bool Options::*member) { batch.writeBool(key, name, options.*member); },
                   [&](int Options::*member) {
                       if (field.storedAs == StoredAs::Bool)
                           batch.writeBool(key, name, options.*member != 0);
                       else
                           batch.writeInteger(key, name, options.*member);
                   },
                   [&](std::optional<int> Options::*member) {
                       if (options.*member || !(field.rules & kWrittenWhenSet))
                           batch.writeInteger(key, name, (options.*member).value_or(0));
                   },
                   [&](QString Options::*member) { batch.writeString(key, name, options.*member); },
               },
               field.member);
}

}  // namespace

bool OptionField::same(const Options& a, const Options& b) const {
    return std::visit([&](auto held) { return a.*held == b.*held; }, member);
}

Options::Options() {
    for (const OptionField& field : kFields) applyDefault(field, *this);
}

Options Options::defaultsFor(const QString& programFolder) {
    Options options;
    options.programFolder = programFolder;
    for (const OptionField& field : kFields)
        if (field.rules & kInProgramFolder) applyDefault(field, options);
    return options;
}

std::span<const OptionField> Options::fields() { return kFields; }

QString Options::defaultResetFile() const { return defaultsFor(programFolder).resetFile; }

QString Options::folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool Options::read(Registry& registry, const QString& runningFolder) {
    QString folder = runningFolder;
    if (registry.openKeyReadOnly(QLatin1Char('\\') + QLatin1String(kKey) + QStringLiteral("\\Folder"))) {
        if (registry.valueType(QString()) == RegistryValue::Type::String && !registry.readString(QString()).isEmpty())
            folder = registry.readString(QString());
        registry.closeKey();
    }
    programFolder = folder;
    for (const OptionField& field : kFields)
        if (field.rules & kInProgramFolder) applyDefault(field, *this);

    sound.read(registry);
    if (!registry.openKeyReadOnly(QLatin1Char('\\') + QLatin1String(kOptionsKey))) return false;
    for (const OptionField& field : kFields) readField(registry, field, *this);
    registry.closeKey();

    for (const OptionField& field : kFields) {
        if (!(field.rules & kExistingFile)) continue;
        if (const auto* member = std::get_if<QString Options::*>(&field.member);
            member && !QFileInfo::exists((*this).*(*member)))
            applyDefault(field, *this);
    }
    return true;
}

void Options::save(Registry& registry, const QStringList& history) const {
    Options stored = *this;
    if (!history.isEmpty()) {
        stored.autoLoadList = history.first();
        stored.listDirectory = folderOf(history.first());
    }
    const QString key = QLatin1Char('\\') + QLatin1String(kKey);
    const QString optionsKey = QLatin1Char('\\') + QLatin1String(kOptionsKey);
    RegistryBatch batch;
    batch.writeString(key, QString(), QLatin1String(kDefaultValue));
    for (const OptionField& field : kFields) {
        if ((field.rules & kFromHistory) && history.isEmpty()) continue;
        writeField(batch, optionsKey, field, stored);
    }
    // A player whose sound was never changed keeps the settings file it always had.
    if (sound != SoundOptions{} || registry.keyExists(QLatin1Char('\\') + QLatin1String(SoundOptions::kSoundKey)))
        sound.writeTo(batch);
    registry.write(batch);
}

}  // namespace vorlo
