// Fuzz target: the archive member list, the name rules and the extraction of members. Whatever the bytes:
// - every name is valid UTF-8, its base name is what baseNameOf gives and never holds "/" or "\";
// - a playable member is a file with a playable extension and a base name that can be written;
// - extracting a playable member leaves either exactly that member in the folder, of its stated size, or nothing;
//   no partial file is ever left and nothing is written anywhere else.
// The input is also taken as a name on its own, for the name rules alone.
#include "zip/MemberNames.h"
#include "zip/ZipArchive.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vorlo::zip;

void check(bool condition) {
    if (!condition) std::abort();
}

void checkNameRules(std::string_view name) {
    const std::string utf8 = validUtf8(name);
    check(validUtf8(utf8) == utf8);
    const std::string_view base = baseNameOf(name);
    check(base.find('/') == std::string_view::npos && base.find('\\') == std::string_view::npos);
    check(name.size() >= base.size() && name.substr(name.size() - base.size()) == base);
    if (isSafeBaseName(base))
        check(!base.empty() && base != "." && base != ".." && base.find('\0') == std::string_view::npos);
    const std::string extension = lowerExtension(name);
    check(extension.empty() || extension.front() == '.');
    if (isPlayableExtension(extension)) check(extension.size() == 4);
}

// The names in `folder`, "." and ".." left out.
std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

// One private folder for the whole run, removed at its end (it is empty between inputs).
struct ScratchFolder {
    ScratchFolder() {
        char pattern[] = "/tmp/vorlo-zip-fuzz-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) path = pattern;
    }
    ~ScratchFolder() {
        if (!path.empty()) ::rmdir(path.c_str());
    }
    std::string path;
};

const std::string& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkNameRules(std::string_view(reinterpret_cast<const char*>(data), size));

    std::string error;
    const std::unique_ptr<ZipArchive> archive = ZipArchive::openBytes(data, size, error);
    if (!archive) {
        check(!error.empty());
        return 0;
    }
    const std::string& folder = scratchFolder();
    int extractions = 0;
    for (const Member& member : archive->members()) {
        check(validUtf8(member.name) == member.name);
        check(member.baseName == baseNameOf(member.name));
        checkNameRules(member.name);
        if (member.playable) {
            check(member.kind == MemberKind::File && isSafeBaseName(member.baseName));
            check(isPlayableExtension(lowerExtension(member.baseName)));
        }
        if (!member.playable || folder.empty() || extractions++ >= 4) continue;
        // A small limit keeps bombs from filling the disk while fuzzing.
        const std::string why = archive->extract(member, folder, ExtractLimits{1 << 20, 0});
        const std::vector<std::string> left = entriesOf(folder);
        if (why.empty()) {
            check(left.size() == 1 && left.front() == member.baseName);
            struct stat written {};
            check(::stat((folder + "/" + member.baseName).c_str(), &written) == 0);
            check(static_cast<std::uint64_t>(written.st_size) == member.size);
            ::unlink((folder + "/" + member.baseName).c_str());
        } else {
            check(left.empty());
        }
    }
    return 0;
}
