#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vorlo {

// A desktop program that can stand in for one of the system's own tools, with its arguments.
struct OutsideProgram {
    QString program;
    QStringList arguments;
};

// Starts the first of `candidates` that can be started (searched along PATH) and leaves it running on its own.
// Returns false when none of them could be started.
bool startFirstAvailable(const std::vector<OutsideProgram>& candidates);

// The desktop's mixer, for the volume control.
std::vector<OutsideProgram> volumeControlPrograms();
// The desktop's sound settings, for the multimedia settings.
std::vector<OutsideProgram> soundSettingsPrograms();

}  // namespace vorlo
