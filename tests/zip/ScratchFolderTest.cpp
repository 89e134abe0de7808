#include "zip/ScratchFolder.h"

#include "zip/MemberNames.h"

#include "ArchiveWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace vorlo::zip {
namespace {

namespace fs = std::filesystem;

TEST(ScratchFolder, HoldsOnlyTheMemberExtractedLastAndGoesWithIt) {
    const fs::path archivePath = fs::temp_directory_path() / ("vorlo-scratch-" + std::to_string(::getpid()) + ".zip");
    ASSERT_TRUE(test::writeArchive(archivePath.string(),
                                   {test::fileMember("a/one.mid", "1"), test::fileMember("two.mid", "2")}));
    std::string error;
    const auto archive = ZipArchive::open(archivePath.string(), error);
    ASSERT_TRUE(archive) << error;
    std::string folder;
    {
        ScratchFolder scratch;
        folder = scratch.path();
        ASSERT_FALSE(folder.empty()) << scratch.error();
        struct stat info {};
        ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);

        std::string extracted;
        EXPECT_EQ(scratch.extract(*archive, archive->members()[0], extracted), "");
        EXPECT_EQ(extracted, folder + "/one.mid");
        EXPECT_EQ(scratch.extract(*archive, archive->members()[1], extracted), "");
        EXPECT_FALSE(fs::exists(folder + "/one.mid"));
        EXPECT_TRUE(fs::exists(folder + "/two.mid"));
        EXPECT_EQ(memberLabel("pack.zip", archive->members()[0]), "pack.zip/a/one.mid");
    }
    EXPECT_FALSE(fs::exists(folder));
    fs::remove(archivePath);
    EXPECT_TRUE(isArchivePath("/music/Pack.ZIP"));
    EXPECT_FALSE(isArchivePath("/music/pack.zip.mid"));
}

}  // namespace
}  // namespace vorlo::zip
