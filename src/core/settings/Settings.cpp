#include "core/settings/Settings.h"

#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "os/Registry.h"

namespace vorlo {

OptionChanges OptionChanges::between(const Options& before, const Options& after) {
    OptionChanges changes;
    for (const OptionField& field : Options::fields())
        if (!field.same(before, after)) changes.fields_.push_back(&field);
    changes.sound_ = before.sound != after.sound;
    return changes;
}

QStringList OptionChanges::valueNames() const {
    QStringList names;
    for (const OptionField* field : fields_) names << field->valueName();
    return names;
}

Settings::Settings(QObject* parent) : QObject(parent) {}

bool Settings::read(const QString& runningFolder) {
    Registry registry;
    Options stored;
    try {
        const bool existed = stored.read(registry, runningFolder);
        options_ = stored;
        qCDebug(lcSettings) << (existed ? "options read; program folder"
                                        : "no options stored: first run; program folder")
                            << options_.programFolder;
        return existed;
    } catch (const RegistryError& error) {
        qCDebug(lcSettings) << "options could not be read:" << error.what();
        options_ = Options::defaultsFor(runningFolder);
        if (!error.isDamagedFile() || !setAside(error)) throw;
        return true;
    }
}

void Settings::apply(const Options& edited) {
    const OptionChanges changes = OptionChanges::between(options_, edited);
    options_ = edited;
    if (changes.isEmpty()) return;
    qCDebug(lcSettings) << "options changed:" << changes.valueNames() << (changes.sound() ? "and sound" : "");
    emit changed(changes);
}

void Settings::save(const QStringList& history) {
    Registry registry;
    try {
        options_.save(registry, history);
        qCDebug(lcSettings) << "options saved";
        return;
    } catch (const RegistryError& error) {
        // Damaged while the player ran (another program wrote it): keep it for the user, then write afresh.
        if (!error.isDamagedFile() || !setAside(error)) throw;
    }
    options_.save(registry, history);
}

bool Settings::setAside(const RegistryError& error) {
    QString kept;
    try {
        kept = Registry::setAsideDamaged(RegistryRoot::CurrentUser);
    } catch (const RegistryError&) {
        return false;  // the original error tells the user that the file is damaged and left alone
    }
    if (kept.isEmpty()) return false;
    qCDebug(lcSettings) << "damaged settings file" << error.damagedFileName() << "kept as" << kept;
    MessageBoxes::show(QStringLiteral("Warning - Settings File"),
                       QStringLiteral("The settings file %1 is damaged (%2). It has been kept as %3; the player "
                                      "runs with its default options and saves them afresh when it closes.")
                           .arg(error.damagedFileName(), error.damage(), kept),
                       BoxIcon::Warning);
    return true;
}

}  // namespace vorlo
