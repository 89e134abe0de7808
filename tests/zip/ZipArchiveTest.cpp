#include "zip/ZipArchive.h"

#include "ArchiveWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace vorlo::zip {
namespace {

namespace fs = std::filesystem;
using test::ArchiveMember;
using test::fileMember;

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorlo-zip-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        folder_ = root_ / "extracted";
        fs::create_directory(folder_);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string archive(const std::vector<ArchiveMember>& members, const std::string& name = "pack.zip") {
        const std::string path = (root_ / name).string();
        EXPECT_TRUE(test::writeArchive(path, members));
        return path;
    }
    std::unique_ptr<ZipArchive> open(const std::string& path) {
        std::string error;
        auto opened = ZipArchive::open(path, error);
        EXPECT_TRUE(opened) << error;
        return opened;
    }
    static std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder)) names.insert(item.path().filename().string());
        return names;
    }
    static std::string contents(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Extracts the only member of an archive and returns the refusal.
    std::string extractOnly(const std::string& path, const ExtractLimits& limits = {}) {
        const auto opened = open(path);
        if (!opened || opened->members().empty()) return "no member";
        return opened->extract(opened->members().front(), folder_.string(), limits);
    }

    fs::path root_;
    fs::path folder_;
};

TEST_F(ZipArchiveTest, ListsMembersInArchiveOrderWithTheirNamesAndKinds) {
    ArchiveMember folder{"pop/", "", ArchiveMember::Kind::Folder};
    ArchiveMember link{"pop/link.mid", "../../../etc/passwd", ArchiveMember::Kind::Link};
    const auto opened = open(archive({fileMember("Canon.mid"), folder, fileMember("pop/readme.txt"),
                                      fileMember("karaoke/Song.KAR"), link, fileMember("dir.mid/notes")}));
    ASSERT_TRUE(opened);
    const std::vector<Member>& members = opened->members();
    ASSERT_EQ(members.size(), 6u);
    EXPECT_EQ(members[0].name, "Canon.mid");
    EXPECT_EQ(members[1].kind, MemberKind::Folder);
    EXPECT_EQ(members[3].name, "karaoke/Song.KAR");
    EXPECT_EQ(members[3].baseName, "Song.KAR");
    EXPECT_EQ(members[3].size, 4u);
    EXPECT_EQ(members[4].kind, MemberKind::Link);
    std::vector<std::string> playable;
    for (const Member& member : opened->playableMembers()) playable.push_back(member.name);
    EXPECT_EQ(playable, (std::vector<std::string>{"Canon.mid", "karaoke/Song.KAR"}));  // no link, no folder
    ASSERT_NE(opened->member(3), nullptr);
    EXPECT_EQ(opened->member(3)->name, "karaoke/Song.KAR");  // found by its place in the archive
    EXPECT_EQ(opened->member(6), nullptr);
}

TEST_F(ZipArchiveTest, NamesWithoutTheUtf8FlagAreCodePage437) {
    ArchiveMember dos = fileMember(
        "\x81"
        "ber.mid");  // "ü" in code page 437
    dos.cp437 = true;
    ArchiveMember flagged = fileMember(
        "\xC3\xBC"
        "ber.kar");                                      // "ü" in UTF-8, flagged as such
    ArchiveMember box = fileMember("\xC9\xCD\xBB.wav");  // box drawing characters in code page 437
    box.cp437 = true;
    const auto opened = open(archive({dos, flagged, box}));
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->members().size(), 3u);
    EXPECT_EQ(opened->members()[0].name,
              "\xC3\xBC"
              "ber.mid");
    EXPECT_EQ(opened->members()[1].name,
              "\xC3\xBC"
              "ber.kar");
    EXPECT_EQ(opened->members()[2].name, "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97.wav");  // ╔═╗
    EXPECT_EQ(opened->extract(opened->members()[0], folder_.string()), "");
    EXPECT_EQ(namesIn(folder_), std::set<std::string>{"\xC3\xBC"
                                                      "ber.mid"});
}

TEST_F(ZipArchiveTest, HostileNamesAreWrittenUnderTheirBaseNameInsideTheFolder) {
    const auto opened =
        open(archive({fileMember("/tmp/vorlo-absolute.mid", "absolute"), fileMember("../../vorlo-up.mid", "up"),
                      fileMember("..\\..\\vorlo-back.wav", "back"), fileMember("..", "dots")}));
    ASSERT_TRUE(opened);
    const std::vector<Member>& members = opened->members();
    ASSERT_EQ(members.size(), 4u);
    EXPECT_FALSE(members[3].playable);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(opened->extract(members[static_cast<std::size_t>(i)], folder_.string()), "");
    EXPECT_EQ(opened->extract(members[3], folder_.string()), "its name cannot be a file name");
    EXPECT_EQ(namesIn(folder_), (std::set<std::string>{"vorlo-absolute.mid", "vorlo-up.mid", "vorlo-back.wav"}));
    EXPECT_EQ(contents(folder_ / "vorlo-up.mid"), "up");
    EXPECT_EQ(namesIn(root_), (std::set<std::string>{"pack.zip", "extracted"}));
    EXPECT_FALSE(fs::exists("/tmp/vorlo-absolute.mid"));
}

TEST_F(ZipArchiveTest, LinksAndFoldersAreNeverWritten) {
    const auto opened = open(archive(
        {{"evil.mid", "/etc/passwd", ArchiveMember::Kind::Link}, {"songs.mid/", "", ArchiveMember::Kind::Folder}}));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->extract(opened->members()[0], folder_.string()), "it is a symbolic link");
    EXPECT_EQ(opened->extract(opened->members()[1], folder_.string()), "it is a folder");
    EXPECT_TRUE(namesIn(folder_).empty());
}

TEST_F(ZipArchiveTest, ReplacesAnOlderFileAndNeverFollowsALinkInItsPlace) {
    const fs::path outside = root_ / "precious.txt";
    std::ofstream(outside) << "keep me";
    fs::create_symlink(outside, folder_ / "song.mid");
    const auto opened = open(archive({fileMember("song.mid", "new song")}));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->extract(opened->members()[0], folder_.string()), "");
    EXPECT_FALSE(fs::is_symlink(folder_ / "song.mid"));
    EXPECT_EQ(contents(folder_ / "song.mid"), "new song");
    EXPECT_EQ(contents(outside), "keep me");
    EXPECT_EQ(opened->extract(opened->members()[0], folder_.string()), "");  // again over itself
    EXPECT_EQ(namesIn(folder_), std::set<std::string>{"song.mid"});
}

TEST_F(ZipArchiveTest, AMemberThatInflatesBeyondTheLimitIsRefusedBeforeAByteIsWritten) {
    const std::string bomb = archive({fileMember("bomb.wav", std::string(std::size_t{4} << 20, '\0'))});
    EXPECT_LT(fs::file_size(bomb), 64u * 1024u);  // a few kilobytes that claim four megabytes
    ExtractLimits limits;
    limits.maxMemberBytes = std::uint64_t{1} << 20;
    EXPECT_EQ(extractOnly(bomb, limits), "it would take 4.0 MB, more than the 1.0 MB a member may take");
    EXPECT_TRUE(namesIn(folder_).empty());
    limits.maxMemberBytes = std::uint64_t{8} << 20;
    EXPECT_EQ(extractOnly(bomb, limits), "");
    EXPECT_EQ(fs::file_size(folder_ / "bomb.wav"), std::uint64_t{4} << 20);
}

TEST_F(ZipArchiveTest, AMemberThatHoldsMoreThanItsStatedSizeIsCutAndDropped) {
    const std::string liar = archive({fileMember("liar.mid", std::string(std::size_t{1} << 20, 'x'))});
    ASSERT_TRUE(test::patchHeaders(liar, test::HeaderField::UncompressedSize, 1000));
    EXPECT_EQ(extractOnly(liar), "it holds more data than the archive states");
    EXPECT_TRUE(namesIn(folder_).empty());  // no partial file either
}

TEST_F(ZipArchiveTest, NoRoomOnTheFileSystemIsToldBeforeWriting) {
    ExtractLimits limits;
    limits.keepFreeBytes = std::uint64_t{1} << 62;  // more than any disk here has
    const std::string why = extractOnly(archive({fileMember("song.mid")}), limits);
    EXPECT_NE(why.find("are free in " + folder_.string()), std::string::npos) << why;
    EXPECT_TRUE(namesIn(folder_).empty());
}

TEST_F(ZipArchiveTest, EncryptedUnknownAndDamagedMembersGiveTheirReasonAndLeaveNothing) {
    const std::string encrypted = archive({fileMember("secret.mid", "secret data", false)}, "encrypted.zip");
    ASSERT_TRUE(test::patchHeaders(encrypted, test::HeaderField::Flags, 1));
    EXPECT_EQ(extractOnly(encrypted), "it is encrypted");

    const std::string imploded = archive({fileMember("old.mid", "imploded data", false)}, "imploded.zip");
    ASSERT_TRUE(test::patchHeaders(imploded, test::HeaderField::Method, 6));
    EXPECT_EQ(extractOnly(imploded), "it is compressed by a method the player does not know (method 6)");

    const std::string damaged = archive({fileMember("damaged.mid", "DATA-TO-DAMAGE", false)}, "damaged.zip");
    ASSERT_TRUE(test::patchBytes(damaged, "DATA-TO-DAMAGE", "DATA-TO-DAMAGF"));
    EXPECT_EQ(extractOnly(damaged), "its data is damaged (the CRC check failed)");

    EXPECT_TRUE(namesIn(folder_).empty());
}

TEST_F(ZipArchiveTest, AnArchiveThatCannotBeReadSaysWhy) {
    const fs::path notZip = root_ / "notzip.zip";
    std::ofstream(notZip) << "this is no archive at all, only text that goes on for a while";
    std::string error;
    EXPECT_FALSE(ZipArchive::open(notZip.string(), error));
    EXPECT_EQ(error, "Not a zip archive");
    EXPECT_FALSE(ZipArchive::open((root_ / "missing.zip").string(), error));
    EXPECT_EQ(error, "No such file");
    const std::string bytes = "PK\x05\x06";  // an end record cut short
    EXPECT_FALSE(ZipArchive::openBytes(bytes.data(), bytes.size(), error));
}

TEST_F(ZipArchiveTest, AFolderThatIsALinkIsRefused) {
    const fs::path link = root_ / "linked";
    fs::create_directory_symlink(folder_, link);
    const auto opened = open(archive({fileMember("song.mid")}));
    ASSERT_TRUE(opened);
    const std::string why = opened->extract(opened->members()[0], link.string());
    EXPECT_NE(why.find("cannot be opened"), std::string::npos) << why;
    EXPECT_TRUE(namesIn(folder_).empty());
}

}  // namespace
}  // namespace vorlo::zip
