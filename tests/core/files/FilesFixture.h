#pragma once

#include "CoreRig.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"
#include "core/files/FileCommands.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/ListFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vorlo::test {

// The player's core (offline media device, Auto off) over real songs in a temporary folder, with scripted boxes:
// the ground of the file commands' tests.
class FilesFixture : public ::testing::Test {
protected:
    void SetUp() override { rig.modes.autoPlay = false; }

    // Writes a song of `lengthMs` at `name` in the temporary folder (making its folders) and returns its path.
    QString song(const QString& name, int lengthMs = 400) const {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(writeSong(path, lengthMs));
        return path;
    }
    // Starts the rig on `paths` as a list just loaded from `listFile` (none: no list file).
    void start(const QStringList& paths, const QString& listFile = {}) {
        rig.fill(paths);
        if (!listFile.isEmpty()) {
            ListFile::write(listFile, paths);
            rig.core().lists().fileNames().saveFileName = listFile;
        }
        rig.engine().entriesArrived();
    }
    FileCommands& files() { return rig.core().files(); }
    Playlist& list() { return rig.playlist(); }

    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    CoreRig rig;
};

}  // namespace vorlo::test
