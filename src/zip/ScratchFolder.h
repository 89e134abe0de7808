#pragma once

#include "zip/ZipArchive.h"

#include <functional>
#include <string>

namespace vorlo::zip {

// Where the command line puts the one archive member it works on: a folder of its own that only this user can
// enter (made by mkdtemp in $TMPDIR, else /tmp), holding at most one extracted member. The member extracted
// before is removed when the next one is extracted; the last one and the folder go with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Empty when the folder could not be made; error() says why.
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

    // Extracts `member` of `archive`, after removing the member extracted before. Returns an empty string and sets
    // `extracted` to its path, or returns why it cannot be extracted.
    std::string extract(const ZipArchive& archive, const Member& member, std::string& extracted,
                        const ExtractLimits& limits = {});
    // Removes the member extracted last, if any.
    void removeMember();

private:
    std::string path_;
    std::string error_;
    std::string member_;
};

// How the command line names a member: the archive's path, "/", the member's stored name.
std::string memberLabel(const std::string& archivePath, const Member& member);

// What the command line does with an archive named like a file: each playable member in archive order, extracted
// into a ScratchFolder just before `visit(label, extracted, error)` and removed when it returns. `label` is
// memberLabel(); `error` is empty when `extracted` is in place, else why the member cannot be read. An archive
// that cannot be read or holds nothing playable gives one call with the archive's path as label and an error.
// Returns the number of calls with an error.
using MemberVisitor =
    std::function<void(const std::string& label, const std::string& extracted, const std::string& error)>;
int forEachPlayableMember(const std::string& archivePath, const MemberVisitor& visit, const ExtractLimits& limits = {});

}  // namespace vorlo::zip
