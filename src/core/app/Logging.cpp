#include "core/app/Logging.h"

namespace vorlo {

// Warnings and above only unless QT_LOGGING_RULES asks for more.
Q_LOGGING_CATEGORY(lcPlayback, "vorlo.playback", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLists, "vorlo.lists", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSettings, "vorlo.settings", QtWarningMsg)
Q_LOGGING_CATEGORY(lcZip, "vorlo.zip", QtWarningMsg)

}  // namespace vorlo
