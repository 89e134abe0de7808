#include "core/settings/FileAssociations.h"

#include "core/app/Logging.h"
#include "os/Registry.h"

#include <optional>

namespace vorlo {

QStringList FileAssociations::mimeTypesOf(bool AssociationBoxes::*box) {
    if (box == &AssociationBoxes::mid) return {QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi")};
    if (box == &AssociationBoxes::avi) return {QStringLiteral("video/x-msvideo")};
    if (box == &AssociationBoxes::wav) return {QStringLiteral("audio/x-wav"), QStringLiteral("audio/wav")};
    return {};
}

FileAssociations::FileAssociations(XdgAssociations desktop) : desktop_(std::move(desktop)) {
    Registry classes(RegistryRoot::ClassesRoot);
    classes.change([this](RegistryHive& hive) {
        commands_ = ClassStore::playerCommands(hive);
        ClassStore store(hive, commands_);
        avi_ = store.ClassOf(QStringLiteral(".avi"));
        mid_ = store.ClassOf(QStringLiteral(".mid"));
        const QString rmi = store.ClassOf(QStringLiteral(".rmi"));
        wav_ = store.ClassOf(QStringLiteral(".wav"));
        cda_ = store.ClassOf(QStringLiteral(".cda"));
        associated_.avi = store.IsAssociated(avi_);
        // An ".rmi" key without a class has no commands to carry: it cannot keep the MIDI box unchecked.
        associated_.mid = store.IsAssociated(mid_) && (rmi.isEmpty() || store.IsAssociated(rmi));
        associated_.wav = store.IsAssociated(wav_);
        associated_.cda = store.IsAssociated(cda_);
        return store.changed();
    });
}

QString FileAssociations::classOf(const QString& extension) const {
    if (extension == QLatin1String(".avi")) return avi_;
    if (extension == QLatin1String(".mid")) return mid_;
    if (extension == QLatin1String(".wav")) return wav_;
    if (extension == QLatin1String(".cda")) return cda_;
    return {};
}

bool FileAssociations::refusesForMissingCommands(const AssociationBoxes& boxes) const {
    return !commands_.isComplete() && (boxes.mid || boxes.avi || boxes.wav || boxes.cda);
}

void FileAssociations::apply(const AssociationBoxes& boxes) {
    Registry classes(RegistryRoot::ClassesRoot);
    std::optional<XdgAssociations::Change> desktop;
    try {
        classes.change([&](RegistryHive& hive) {
            ClassStore store(hive, commands_);
            desktop.emplace(desktop_, hive);
            const auto one = [&](bool AssociationBoxes::*box, const QStringList& classNames) {
                const QStringList types = mimeTypesOf(box);
                if (boxes.*box) {
                    for (const QString& className : classNames) store.Associate(className);
                    if (commands_.isComplete()) desktop->associate(types, commands_.open);
                } else {
                    for (const QString& className : classNames) store.Unassociate(className);
                    desktop->unassociate(types);
                }
            };
            one(&AssociationBoxes::avi, {avi_});
            // The ".rmi" class is looked up again: it may have been created meanwhile.
            one(&AssociationBoxes::mid, {mid_, store.ClassOf(QStringLiteral(".rmi"))});
            one(&AssociationBoxes::wav, {wav_});
            one(&AssociationBoxes::cda, {cda_});
            const bool any = boxes.avi || boxes.mid || boxes.wav || boxes.cda;
            const RegistryHive::Key* mpl = hive.findKey(QStringLiteral(".mpl"));
            const RegistryValue* mplClass = mpl ? RegistryHive::value(*mpl, QString()) : nullptr;
            if (any && commands_.isComplete() && mplClass &&
                mplClass->text == QLatin1String(ClassStore::kPlaylistClass))
                desktop->associate({QLatin1String(XdgAssociations::kPlaylistType)}, commands_.open);
            desktop->commit();
            return store.changed() || desktop->changesHive();
        });
    } catch (...) {
        // The hive could not be written after the desktop's files were: those go back as well.
        if (desktop) desktop->undo();
        throw;
    }
    qCDebug(lcSettings) << "associations applied: mid" << boxes.mid << "avi" << boxes.avi << "wav" << boxes.wav << "cda"
                        << boxes.cda;
}

}  // namespace vorlo
