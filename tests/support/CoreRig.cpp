#include "CoreRig.h"

#include "MediaFixtures.h"
#include "core/playlist/MediaPaths.h"

#include <QCoreApplication>

namespace vorlo::test {

CoreRig::CoreRig() : CoreRig(testing::offlineSettings()) {}

CoreRig::CoreRig(const media::MediaSettings& settings)
    : device_(std::make_unique<media::MIDIPlayer>(settings)),
      core_(std::make_unique<PlayerCore>(*device_, options, modes)) {
    options.resetFile.clear();
}

CoreRig::~CoreRig() {
    core_.reset();
    device_.reset();
}

void CoreRig::fill(const QStringList& paths) {
    for (const QString& path : paths) playlist().append({path, fileNamePart(path), false});
    playlist().setCurrentIndex(-1);
    playlist().MarkListSaved();
}

void CoreRig::playToEnd() {
    testing::runToStop(*device_);
    settle();
}

void CoreRig::settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace vorlo::test
