// Writes the seed archives of the zip fuzz target into the folder named on the command line: the archives the
// tests use, plain and damaged.
#include "ArchiveWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_zip_seeds FOLDER\n", stderr);
        return 2;
    }
    using vorlo::test::ArchiveMember;
    using vorlo::test::fileMember;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const std::string song = std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0", 26);
    const auto path = [&](const char* name) { return (folder / name).string(); };
    bool ok = true;
    ok &= vorlo::test::writeArchive(path("plain.zip"), {fileMember("top.mid", song), fileMember("docs/a.txt", "text"),
                                                        fileMember("k/Song.KAR", song, false)});
    ArchiveMember dos = fileMember("M\x9Esik.mid", song);  // code page 437
    dos.cp437 = true;
    ok &= vorlo::test::writeArchive(path("cp437.zip"), {dos, fileMember("\xC3\xA9t\xC3\xA9.wav", "RIFF")});
    ok &= vorlo::test::writeArchive(path("hostile.zip"), {fileMember("../../up.mid", song),
                                                          fileMember("/abs/root.mid", song),
                                                          fileMember("..\\win.rmi", song),
                                                          fileMember("x/..", song),
                                                          fileMember("dir/", ""),
                                                          {"link.mid", "/etc/passwd", ArchiveMember::Kind::Link},
                                                          {"folder/", "", ArchiveMember::Kind::Folder}});
    ok &= vorlo::test::writeArchive(path("bomb.zip"), {fileMember("bomb.mid", std::string(2 << 20, '\0'))});
    ok &= vorlo::test::writeArchive(path("locked.zip"), {fileMember("locked.mid", song)});
    ok &= vorlo::test::patchHeaders(path("locked.zip"), vorlo::test::HeaderField::Flags, 1);
    ok &= vorlo::test::writeArchive(path("method.zip"), {fileMember("odd.mid", song)});
    ok &= vorlo::test::patchHeaders(path("method.zip"), vorlo::test::HeaderField::Method, 99);
    ok &= vorlo::test::writeArchive(path("liar.zip"), {fileMember("liar.mid", song, false)});
    ok &= vorlo::test::patchHeaders(path("liar.zip"), vorlo::test::HeaderField::UncompressedSize, 5);
    if (!ok) {
        std::fputs("make_zip_seeds: an archive could not be written\n", stderr);
        return 1;
    }
    return 0;
}
