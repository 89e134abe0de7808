#pragma once

#include <QString>

namespace vorlo {

// A folder that only the current user may enter. Created with mode 0700; an existing one is accepted only when
// it is a real directory (not a symbolic link) owned by this user, and its mode is narrowed to 0700.
// Returns an empty string on success, else a message that says why the folder cannot be used.
QString ensurePrivateFolder(const QString& path);

// The per-user runtime folder of the player (local sockets, locks). VORLO_RUNTIME_DIR moves it.
QString runtimeFolder();

}  // namespace vorlo
