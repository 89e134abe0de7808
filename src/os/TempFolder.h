#pragma once

#include <QString>

#include <functional>

namespace vorlo {

// The player's scratch folder ("mvtemp"), where zip mode extracts the one archive member being played.
// It lives in the system temporary folder but belongs to the user alone: "mvtemp-<user id>", created 0700 and
// refused when it is a symbolic link or owned by someone else, so no other user can plant files there.
class TempFolder {
public:
    // The folder's path for the temporary folder `systemTemp` (the system's when empty).
    static QString pathFor(const QString& systemTemp = {});

    // Creates the folder; when it exists already (a previous run did not end cleanly), deletes what that run left
    // behind: with `leftOver`, every plain file (no link, no folder) whose name it accepts as one the player
    // writes, and nothing else; without it, the first file found. Returns an empty string, or why the folder is
    // refused.
    static QString prepare(const QString& path, const std::function<bool(const QString& fileName)>& leftOver = {});

    // Removes the folder; this succeeds only when it is empty.
    static bool remove(const QString& path);
};

}  // namespace vorlo
