#pragma once
// The archive module (vorlo-archive.so): zip archives taken like a list by `vorlo length`. The program loads it
// only when an archive is among its files, so the other commands start without libzip and what it brings in.
#include <string>

namespace vorlo::tools {

inline constexpr const char* kArchiveModuleFile = "vorlo-archive.so";
inline constexpr const char* kArchiveMembersSymbol = "vorlo_archive_members";

// Called once for each playable member of an archive, in archive order: `label` is the archive's path, "/" and the
// member's stored name; `extracted` the path of its extracted copy (removed when the call returns), or null with
// `error` saying why it could not be extracted. An archive that cannot be read, or holds nothing playable, gives
// one call with the archive's path as label and a null `extracted`.
using ArchiveMemberVisitor = void (*)(void* context, const char* label, const char* extracted, const char* error);
// The module's entry: visits the members of `archive`. Returns the number of calls with an error.
using ArchiveMembersFunction = int (*)(const char* archive, ArchiveMemberVisitor visit, void* context);

}  // namespace vorlo::tools
