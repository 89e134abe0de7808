#include "core/playlist/ZipSession.h"

namespace vorlo {

ZipSession::ZipSession(QObject* parent) : QObject(parent) {}

void ZipSession::enter(const QString& archive) {
    const bool wasActive = active_;
    active_ = true;
    archive_ = archive;
    if (!wasActive) emit changed(true);
}

void ZipSession::leave() {
    if (!active_) return;
    active_ = false;
    archive_.clear();
    emit changed(false);
}

}  // namespace vorlo
