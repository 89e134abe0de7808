#include "player/app/PlayerApplication.h"

#include "core/app/BusyCursor.h"
#include "core/app/ErrorHandler.h"
#include "player/app/ModalDialogs.h"

#include <stdexcept>

namespace vorlo {

namespace {
DesktopMessageBoxes g_desktopBoxes;
}  // namespace

PlayerApplication::PlayerApplication(int& argc, char** argv) : QApplication(argc, argv) {
    MessageBoxes::setDefault(&g_desktopBoxes);
    ErrorHandler::setResetCursor([] {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    });
    // The core's busy operations show the hourglass.
    BusyCursor::setIndicator([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

PlayerApplication::~PlayerApplication() {
    BusyCursor::setIndicator({});
    ErrorHandler::setResetCursor({});
    MessageBoxes::setDefault(nullptr);
}

bool PlayerApplication::notify(QObject* receiver, QEvent* event) {
    // The last resort: every command and report is its own error boundary, so nothing should arrive here.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ErrorHandler::handle(error);
    } catch (...) {
        ErrorHandler::handle(std::runtime_error("An unknown error occurred."));
    }
    return false;
}

}  // namespace vorlo
