#include "zip/ScratchFolder.h"

#include "zip/MemberNames.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace vorlo::zip {

ScratchFolder::ScratchFolder() {
    const char* configured = std::getenv("TMPDIR");
    std::string base = configured != nullptr && *configured != '\0' ? configured : "/tmp";
    if (base.size() > 1 && base.back() == '/') base.pop_back();
    std::string pattern = base + "/vorlo-zip-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name nobody could have planted.
    if (::mkdtemp(name.data()) == nullptr) {
        error_ = "no private folder can be made in " + base + ": " + std::strerror(errno);
        return;
    }
    path_ = name.data();
}

ScratchFolder::~ScratchFolder() {
    removeMember();
    if (!path_.empty()) ::rmdir(path_.c_str());
}

std::string ScratchFolder::extract(const ZipArchive& archive, const Member& member, std::string& extracted,
                                   const ExtractLimits& limits) {
    removeMember();
    if (path_.empty()) return error_;
    const std::string why = archive.extract(member, path_, limits);
    if (!why.empty()) return why;
    member_ = path_ + "/" + member.baseName;
    extracted = member_;
    return {};
}

void ScratchFolder::removeMember() {
    if (member_.empty()) return;
    ::unlink(member_.c_str());
    member_.clear();
}

std::string memberLabel(const std::string& archivePath, const Member& member) {
    return archivePath + "/" + member.name;
}

int forEachPlayableMember(const std::string& archivePath, const MemberVisitor& visit, const ExtractLimits& limits) {
    std::string error;
    const std::unique_ptr<ZipArchive> reader = ZipArchive::open(archivePath, error);
    if (!reader) {
        visit(archivePath, {}, "cannot be read: " + error);
        return 1;
    }
    const std::vector<Member> members = reader->playableMembers();
    if (members.empty()) {
        visit(archivePath, {}, "No compressed file in this zip archive can be played!");
        return 1;
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        visit(archivePath, {}, scratch.error());
        return 1;
    }
    int failures = 0;
    for (const Member& member : members) {
        std::string extracted;
        const std::string why = scratch.extract(*reader, member, extracted, limits);
        if (why.empty()) {
            visit(memberLabel(archivePath, member), extracted, {});
        } else {
            visit(memberLabel(archivePath, member), {}, "cannot be extracted: " + why);
            ++failures;
        }
        scratch.removeMember();
    }
    return failures;
}

}  // namespace vorlo::zip
