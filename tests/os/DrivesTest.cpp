#include "os/Drives.h"

#include <gtest/gtest.h>

using vorlo::Drives;

namespace {

// A mount table as a desktop machine writes it: kernel file systems, runtime folders, real disks, a stick
// whose label has a blank, a network share, a package image and a couple of damaged lines.
const QByteArray DesktopTable =
    "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
    "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
    "24 27 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw,mode=755\n"
    "26 24 0:24 / /dev/pts rw,relatime - devpts devpts rw,mode=600\n"
    "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "31 23 0:28 / /sys/fs/cgroup rw,relatime - cgroup2 cgroup2 rw\n"
    "35 27 0:30 / /run rw,nosuid shared:5 - tmpfs tmpfs rw,mode=755\n"
    "36 35 0:31 / /run/user/1000 rw,nosuid shared:6 - tmpfs tmpfs rw,mode=700\n"
    "37 36 0:32 / /run/user/1000/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "40 27 8:3 / /home rw,relatime shared:7 - ext4 /dev/sda3 rw\n"
    "41 27 8:17 / /run/media/anna/USB\\040STICK rw,nosuid master:9 - vfat /dev/sdb1 rw\n"
    "42 27 0:40 / /mnt/nas rw,relatime - nfs4 nas:/music rw\n"
    "43 27 7:1 / /snap/core/123 ro - squashfs /dev/loop1 ro\n"
    "44 27 0:41 / /tmp rw - tmpfs tmpfs rw\n"
    "45 27 8:3 / /home rw,relatime - ext4 /dev/sda3 rw\n"
    "this line is not a mount\n"
    "46 27 0:42 / relative rw - ext4 /dev/sdc1 rw\n"
    "47 27 0:43 / /media/cut\n";

TEST(Drives, OnlyRealFileSystemsAreDrivesWithTheRootFirst) {
    EXPECT_EQ(Drives::drivesOf(DesktopTable), (QStringList{"/", "/home", "/mnt/nas", "/run/media/anna/USB STICK"}));
    // Even a table that cannot be read leaves the root to browse.
    EXPECT_EQ(Drives::drivesOf(QByteArray()), QStringList{"/"});
    EXPECT_EQ(Drives::drivesOf("garbage\n\\\\\\ - -\n"), QStringList{"/"});
}

TEST(Drives, EscapedNamesAndTypesAreRead) {
    const std::vector<vorlo::MountEntry> entries =
        Drives::parseMountInfo("1 2 3:4 / /a\\040b\\134c rw opt:1 opt:2 - vfat /dev/x\\040y rw\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].mountPoint, "/a b\\c");
    EXPECT_EQ(entries[0].fileSystemType, "vfat");
    EXPECT_EQ(entries[0].source, "/dev/x y");
}

TEST(Drives, AFolderBelongsToTheDeepestDriveAboveIt) {
    const QStringList drives{"/", "/home", "/home/anna/music", "/mnt/nas"};
    EXPECT_EQ(Drives::driveOf("/home/anna/music/jazz", drives), "/home/anna/music");
    EXPECT_EQ(Drives::driveOf("/home/anna", drives), "/home");
    EXPECT_EQ(Drives::driveOf("/home", drives), "/home");
    EXPECT_EQ(Drives::driveOf("/homework", drives), "/");
    EXPECT_EQ(Drives::driveOf("/usr/share", drives), "/");
}

TEST(Drives, ThisMachinesDrivesStartAtTheRootAndLeaveOutTheKernelsOwn) {
    const QStringList drives = Drives::logicalDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first(), "/");
    for (const QString& drive : drives) {
        EXPECT_FALSE(drive == "/proc" || drive.startsWith("/proc/") || drive == "/sys" || drive.startsWith("/sys/") ||
                     drive == "/dev" || drive.startsWith("/dev/"))
            << drive.toStdString();
    }
}

}  // namespace
