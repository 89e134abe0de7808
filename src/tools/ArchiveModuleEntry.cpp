// The entry point of the archive module. No exception leaves it.
#include <exception>
#include <string>

#include "ArchiveModule.h"
#include "zip/ScratchFolder.h"

extern "C" __attribute__((visibility("default"))) int vorlo_archive_members(const char* archive,
                                                                            vorlo::tools::ArchiveMemberVisitor visit,
                                                                            void* context) {
    try {
        return vorlo::zip::forEachPlayableMember(
            archive, [&](const std::string& label, const std::string& extracted, const std::string& error) {
                visit(context, label.c_str(), extracted.empty() ? nullptr : extracted.c_str(),
                      error.empty() ? nullptr : error.c_str());
            });
    } catch (const std::exception& error) {
        visit(context, archive, nullptr, error.what());
    }
    return 1;
}
