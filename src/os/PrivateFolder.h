#pragma once

#include <QString>

namespace vorlo {

// A folder that only the current user may enter. Created with mode 0700; an existing one is accepted only when
// it is a real directory (not a symbolic link) owned by this user, and its mode is narrowed to 0700.
// Returns an empty string on success, else a message that says why the folder cannot be used.
QString ensurePrivateFolder(const QString& path);

// The per-user runtime folder of the player (local sockets, locks): "midi-vorlo" in XDG_RUNTIME_DIR, or in
// VORLO_RUNTIME_DIR when that is set; without either, a folder under the user's home, never a guessable name in
// a shared folder.
QString runtimeFolder();

// Creates the runtime folder's parent when it is missing (with the umask's mode; it is never changed when it
// exists) and makes `folder` itself private (ensurePrivateFolder). Returns an empty string or why it failed.
QString prepareRuntimeFolder(const QString& folder);

}  // namespace vorlo
