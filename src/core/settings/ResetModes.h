#pragma once

#include "core/app/MessageBoxes.h"

#include <QString>

#include <optional>

namespace vorlo {

// The MIDI reset modes of the configuration dialog and the reset file each stands for.
enum class ResetMode { Unselected = -1, None = 0, GM = 1, GS = 2, XG = 3, Customized = 4 };

// What OK made of the reset choice: the reset file in force now, and the error to show (the dialog then stays
// open on its reset page).
struct ResetChoice {
    QString resetFile;
    std::optional<MessageBox> error;
};

class ResetModes {
public:
    // The reset file of a mode: empty for None, the program folder's file for GM, GS and XG; empty otherwise.
    static QString fileFor(ResetMode mode, const QString& programFolder);

    // The mode the dialog shows for the reset file in force: an existing file is None when empty, GM, GS or XG
    // when it is that mode's path exactly, else Customized; a file that does not exist shows no mode (None when
    // it is empty).
    static ResetMode modeOf(const QString& resetFile, const QString& programFolder);

    // OK's choice of reset file from the mode and the customised path typed or browsed; `resetFile` is the one in
    // force. A customised file must exist and be a MIDI file the player can read; an error keeps the reset file
    // in force, except that a GM, GS or XG file that is missing is taken all the same (OK again finds it missing
    // until another mode is chosen).
    static ResetChoice choose(ResetMode mode, const QString& customPath, const QString& resetFile,
                              const QString& programFolder);

    // Whether `path` is a Standard MIDI File (plain or inside RIFF RMID) that can be read.
    static bool isReadableMidiFile(const QString& path);

    // The caption the player shows while a reset file plays: "GM Reset", "GS Reset", "XG Reset", "Custom Reset".
    static QString caption(const QString& resetFile, const QString& programFolder);
};

}  // namespace vorlo
