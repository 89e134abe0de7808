#pragma once

#include "media/MIDIPlayer.h"

#include <QString>

#include <memory>

namespace vorlo::test {

// Writes a short song: one note of `lengthMs` at 120 beats a minute. Returns false when it cannot be written.
bool writeSong(const QString& path, int lengthMs = 250);

// The GM, GS and XG reset files of a program folder ("Reset/Gm_reset.mid", ...), short songs each.
bool writeResetFiles(const QString& programFolder);

// The real media device paced by a silent real-time clock, so tests need no sound card.
std::unique_ptr<media::MIDIPlayer> silentDevice();

}  // namespace vorlo::test
