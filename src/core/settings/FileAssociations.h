#pragma once

#include "core/settings/ClassStore.h"
#include "os/XdgAssociations.h"

#include <QString>
#include <QStringList>

namespace vorlo {

// The file types the "File Types Association" page offers, one box each.
struct AssociationBoxes {
    bool mid = false;  // the classes of ".mid" and ".rmi"
    bool avi = false;
    bool wav = false;
    bool cda = false;
    bool operator==(const AssociationBoxes&) const = default;
};

// The player's file associations as the configuration dialog sees them: read once when it opens (the player's
// commands, the classes of the five extensions), applied at OK. Each association is made twice: in the class
// store (the classes-root hive) and on the desktop (XdgAssociations), and the two are written as one change: a
// failure leaves both as they were.
class FileAssociations {
public:
    // The MIME types that mirror each box on the desktop (CD tracks have none here).
    static QStringList mimeTypesOf(bool AssociationBoxes::*box);

    // Reads the player's commands and looks up the classes of ".avi", ".mid", ".rmi", ".wav" and ".cda",
    // creating a missing extension key with its default class. Throws RegistryError.
    explicit FileAssociations(XdgAssociations desktop = XdgAssociations());

    const PlayerCommands& commands() const { return commands_; }
    QString classOf(const QString& extension) const;
    // What the boxes show: a box is checked when its classes carry the player's commands (".mid" and ".rmi"
    // both, for the MIDI box, unless ".rmi" names no class).
    AssociationBoxes associated() const { return associated_; }

    // Whether `boxes` ask for an association that cannot be made because the player's commands are missing.
    bool refusesForMissingCommands(const AssociationBoxes& boxes) const;

    // Applies the boxes in the page's order (".avi"; ".mid" then ".rmi"; ".wav"; ".cda"): a checked box
    // associates its classes and its MIME types, an unchecked one gives them back. When anything is associated
    // and the ".mpl" key names the player's playlist type, the desktop takes the playlist type to the player
    // too. Throws RegistryError or XdgError; neither the hive nor the desktop's files have changed then.
    void apply(const AssociationBoxes& boxes);

private:
    XdgAssociations desktop_;
    PlayerCommands commands_;
    QString avi_, mid_, wav_, cda_;
    AssociationBoxes associated_;
};

}  // namespace vorlo
