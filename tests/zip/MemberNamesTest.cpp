#include "zip/MemberNames.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlo::zip {
namespace {

TEST(MemberNames, BaseNameIsWhatFollowsTheLastSlashOrBackslash) {
    EXPECT_EQ(baseNameOf("song.mid"), "song.mid");
    EXPECT_EQ(baseNameOf("pop/80s/song.kar"), "song.kar");
    EXPECT_EQ(baseNameOf("..\\..\\Windows\\evil.mid"), "evil.mid");
    EXPECT_EQ(baseNameOf("/etc/cron.d/evil.mid"), "evil.mid");
    EXPECT_EQ(baseNameOf("C:evil.mid"), "C:evil.mid");  // a drive letter is no separator here: it stays in the name
    EXPECT_EQ(baseNameOf("folder/"), "");
}

TEST(MemberNames, OnlyNamesThatStayInTheFolderAreSafe) {
    for (const std::string_view name : {"song.mid", "a b.kar", ".hidden.wav", "...mid",
                                        "\xC3\xBC"
                                        "ber.mid"})
        EXPECT_TRUE(isSafeBaseName(name)) << name;
    for (const std::string_view name : {"", ".", "..", "a/b.mid", "a\\b.mid"})
        EXPECT_FALSE(isSafeBaseName(name)) << name;
    EXPECT_FALSE(isSafeBaseName(std::string_view("song.mid\0.txt", 13)));
}

TEST(MemberNames, PlayableExtensionsAreComparedInLowerCase) {
    EXPECT_EQ(lowerExtension("Pop/SONG.KAR"), ".kar");
    EXPECT_EQ(lowerExtension("dir.mid/readme"), "");  // the folder's dot does not count
    EXPECT_EQ(lowerExtension("noext"), "");
    EXPECT_TRUE(isPlayableExtension(".kar"));
    EXPECT_FALSE(isPlayableExtension(".KAR"));
    EXPECT_FALSE(isPlayableExtension(".midi"));
    EXPECT_FALSE(isPlayableExtension(".zip"));
}

TEST(MemberNames, InvalidUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(validUtf8("caf\xC3\xA9.mid"), "caf\xC3\xA9.mid");
    EXPECT_EQ(validUtf8("\xF0\x9F\x8E\xB5.mid"), "\xF0\x9F\x8E\xB5.mid");  // four bytes are fine
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(validUtf8("\xFF.mid"), bad + ".mid");
    EXPECT_EQ(validUtf8("\xC0\xAF"), bad + bad);            // an overlong "/" stays no slash
    EXPECT_EQ(validUtf8("\xED\xA0\x80"), bad + bad + bad);  // a surrogate
    EXPECT_EQ(validUtf8("\xE2\x82"), bad + bad);            // cut short at the end
}

TEST(MemberNames, PartialFilesHaveTheirOwnPrefix) {
    EXPECT_TRUE(isPartialName(".mvpart-0123456789abcdef"));
    EXPECT_FALSE(isPartialName(".mvpart-"));
    EXPECT_FALSE(isPartialName("song.mid"));
}

}  // namespace
}  // namespace vorlo::zip
