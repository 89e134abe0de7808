// Archives named on the command line: their members come from the archive module, loaded only when an archive is
// among the files.
#include <cstdio>
#include <string>

#include "ArchiveModule.h"
#include "Commands.h"
#include "zip/MemberNames.h"

namespace vorlo::tools {

bool forEachFileOrMember(
    const std::vector<std::string>& paths,
    const std::function<void(const std::string& label, const std::string& file, const std::string& error)>& visit) {
    ArchiveMembersFunction members = nullptr;
    for (const std::string& path : paths) {
        if (!zip::isArchivePath(path)) {
            visit(path, path, {});
            continue;
        }
        if (members == nullptr) {
            std::string reasons;
            members = reinterpret_cast<ArchiveMembersFunction>(
                moduleSymbol(programFolder(), kArchiveModuleFile, kArchiveMembersSymbol, reasons));
            if (members == nullptr) {
                std::fprintf(stderr, "vorlo: archives need the archive module, which cannot be loaded: %s\n",
                             reasons.c_str());
                return false;
            }
        }
        struct Context {
            const std::function<void(const std::string&, const std::string&, const std::string&)>& visit;
        } context{visit};
        members(
            path.c_str(),
            [](void* raw, const char* label, const char* extracted, const char* error) {
                static_cast<Context*>(raw)->visit(label, extracted != nullptr ? extracted : "",
                                                  error != nullptr ? error : "");
            },
            &context);
    }
    return true;
}

}  // namespace vorlo::tools
