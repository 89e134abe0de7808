#pragma once

#include <QString>

#include <functional>

namespace vorlo {

// Opens files with the programs the desktop has set up for their types, and tells the user when that cannot be
// done instead of failing silently. UI thread only.
class DesktopOpener {
public:
    // Hands a file to the desktop. `failed` runs on the UI thread, at once or later, when no program took the file.
    using Launcher = std::function<void(const QString& path, std::function<void()> failed)>;

    // Opens `path`: a missing file, or one that no program takes, is reported in an "Error - Open File" box.
    static void open(const QString& path);
    // The box for a file that no program takes.
    static void reportNoProgram(const QString& path);

    // Replaces the desktop launcher (a test has no desktop); an empty launcher brings back the desktop's.
    static void setLauncher(Launcher launcher);
};

}  // namespace vorlo
