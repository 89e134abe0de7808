#pragma once
// The player's logging categories. All are off by default; a user's problem is diagnosed by turning one on:
//   QT_LOGGING_RULES="vorlo.playback.debug=true" MIDI_Vorlo
// Each part of the player declares its category here, so the names stay in one list.
#include <QLoggingCategory>

namespace vorlo {

// Opening entries, the device's reports, the advance to the next entry, the wait between songs.
Q_DECLARE_LOGGING_CATEGORY(lcPlayback)
// List files loaded and saved, the list history, closing a list.
Q_DECLARE_LOGGING_CATEGORY(lcLists)
// The options read, saved and changed, and a damaged settings file set aside.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
// Zip mode: archives read, members extracted and deleted, members that could not be extracted.
Q_DECLARE_LOGGING_CATEGORY(lcZip)
// The media device's own category, vorlo.media, lives with it (media/MediaLog.h).

}  // namespace vorlo
