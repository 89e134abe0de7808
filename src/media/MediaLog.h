#pragma once
// The media device's diagnostics: what was opened with which back end, each report posted, each report of a play
// that was already over dropped. Off by default; QT_LOGGING_RULES="vorlo.media.debug=true" turns them on.
#include <QLoggingCategory>

namespace vorlo::media {

Q_DECLARE_LOGGING_CATEGORY(lcMedia)

}  // namespace vorlo::media
