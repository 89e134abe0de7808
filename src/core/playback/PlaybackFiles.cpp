// What the playback engine does when the files behind the playlist are renamed, moved or deleted.
#include "core/app/Logging.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/Playlist.h"

#include <exception>

namespace vorlo {

bool PlaybackEngine::holdsFile(const QString& path) const {
    return device_.isOpen() && !state_.cdAudio && !path.isEmpty() && device_.fileName() == path;
}

std::optional<QString> PlaybackEngine::releasingFile(const QString& path,
                                                     const std::function<std::optional<QString>()>& operation) {
    if (!holdsFile(path)) return operation();
    // A file the device reads from must not change under it; on systems that refuse to rename an open file the
    // operation could not even run.
    const std::int64_t positionMs = device_.position();
    const bool wasPlaying = device_.mode() == media::Mode::Playing;
    if (wasPlaying) device_.stop();
    device_.close();
    std::optional<QString> result;
    std::exception_ptr failure;
    try {
        result = operation();
    } catch (...) {
        failure = std::current_exception();  // thrown on once the device has its file back
    }
    const QString reopened = result.value_or(path);
    qCDebug(lcPlayback) << "the open file" << path << (result ? "is now" : "stays") << reopened;
    device_.setDeviceType(media::MIDIPlayer::deviceTypeForPath(reopened));
    device_.setFileName(reopened);
    try {
        device_.open();
    } catch (...) {
        state_.playWanted = false;
        state_.paused = false;
        publish();
        throw;
    }
    device_.setTimeFormat(media::TimeFormat::Milliseconds);
    if (positionMs > 0) device_.seek(positionMs);
    if (wasPlaying) {
        applyEnd(entryLengthMs_);
        device_.play();
    }
    publish();
    if (failure) std::rethrow_exception(failure);
    return result;
}

void PlaybackEngine::currentEntryRenamed() {
    if (!device_.isOpen() || !playlist_.isValidIndex(playlist_.CurrentIndex())) return;
    announce(songCaptionOfCurrent());
}

void PlaybackEngine::replaceDeletedCurrent(int index, bool wasLast) {
    if (!letGoOfRemovedCurrent()) return;
    playlist_.setCurrentIndex(wasLast ? 0 : index);
    if (!OpenCurrentEntry()) return;
    const bool play = wasLast ? modes_.loop : modes_.autoPlay && !playlist_.isChecked(playlist_.CurrentIndex());
    if (play) {
        ShowPlayingButtons();
        StartPlay();
    } else {
        ShowStoppedButtons();
    }
}

}  // namespace vorlo
