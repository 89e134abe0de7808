#include "media/MediaLog.h"

namespace vorlo::media {

Q_LOGGING_CATEGORY(lcMedia, "vorlo.media", QtWarningMsg)

}  // namespace vorlo::media
