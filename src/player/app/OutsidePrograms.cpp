#include "player/app/OutsidePrograms.h"

#include <QProcess>

namespace vorlo {

bool startFirstAvailable(const std::vector<OutsideProgram>& candidates) {
    for (const OutsideProgram& candidate : candidates) {
        if (QProcess::startDetached(candidate.program, candidate.arguments)) return true;
    }
    return false;
}

std::vector<OutsideProgram> volumeControlPrograms() {
    return {{QStringLiteral("pavucontrol"), {}},
            {QStringLiteral("pavucontrol-qt"), {}},
            {QStringLiteral("gnome-control-center"), {QStringLiteral("sound")}}};
}

std::vector<OutsideProgram> soundSettingsPrograms() {
    return {{QStringLiteral("gnome-control-center"), {QStringLiteral("sound")}},
            {QStringLiteral("pavucontrol"), {}},
            {QStringLiteral("pavucontrol-qt"), {}}};
}

}  // namespace vorlo
