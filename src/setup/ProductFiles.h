#pragma once

#include <QString>
#include <QStringList>

namespace vorlo {

// The files of the product, by name, as the distribution folder holds them (flat, with the help pages in "help")
// and as the program folder receives them. The uninstaller deletes exactly these names and nothing else.
namespace product {

inline const QString kPlayer = QStringLiteral("MIDI_Vorlo");
inline const QString kSetup = QStringLiteral("setup");
inline const QString kReadMe = QStringLiteral("ReadMe.txt");
inline const QString kFileId = QStringLiteral("File_id.diz");
inline const QString kHelpFolder = QStringLiteral("help");
inline const QString kResetFolder = QStringLiteral("Reset");
// The module the player loads for videos; it stands where the archive library of older releases stood.
inline const QString kVideoModule = QStringLiteral("vorlo-video.so");
inline const QStringList kSamples{QStringLiteral("A_Walk_to_Seashore.mid"),
                                  QStringLiteral("The Waiter and The Reaper.mid")};
inline const QStringList kResetFiles{QStringLiteral("Gm_reset.mid"), QStringLiteral("Gs_reset.mid"),
                                     QStringLiteral("Xg_reset.mid")};
// Files the player writes into its folder later.
inline const QStringList kPlayerWrites{QStringLiteral("History.ini"), QStringLiteral("folder.ini")};

// The help pages, relative to the program folder ("help/index.html", ...): the pages this build ships.
QStringList helpPages();

// The group's launchers and the desktop's, by file name.
inline const QString kPlayerShortcut = QStringLiteral("MIDI Vorlo.desktop");
inline const QString kOldShortcut = QStringLiteral("MIDI Vorlo 1.0.desktop");
inline const QString kHelpShortcut = QStringLiteral("MIDI Vorlo Help.desktop");
inline const QString kReadMeShortcut = QStringLiteral("MIDI Vorlo ReadMe.desktop");
inline const QString kSetupShortcut = QStringLiteral("MIDI Vorlo Setup.desktop");

inline const QString kDefaultGroup = QStringLiteral("MIDI Vorlo");
inline const QString kDefaultFolderName = QStringLiteral("MIDIVorlo");
inline const QString kVersion = QStringLiteral("1.90");

// Registry keys.
inline const QString kUninstallKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MIDI Vorlo");
inline const QString kVersionKey = QStringLiteral("SOFTWARE\\Brackwen\\MIDI Vorlo\\Version");
inline const QString kGroupKey = QStringLiteral("SOFTWARE\\Brackwen\\MIDI Vorlo\\Group");
inline const QString kFolderKey = QStringLiteral("SOFTWARE\\Brackwen\\MIDI Vorlo\\Folder");
inline const QString kOptionsKey = QStringLiteral("SOFTWARE\\Brackwen\\MIDI Vorlo\\Options");
// A value of the uninstall entry: the desktop's folders that the install created, one a line.
inline const QString kCreatedFoldersValue = QStringLiteral("CreatedFolders");
inline const QString kPlaylistClass = QStringLiteral("MIDI Vorlo MPL File");

}  // namespace product

}  // namespace vorlo
