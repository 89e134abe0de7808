#pragma once

#include "zip/ZipArchive.h"

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

// True for a path whose extension is ".zip" in any case: an archive to be taken like a list.
bool isArchivePath(const std::string& path);

}  // namespace vorlo::zip
