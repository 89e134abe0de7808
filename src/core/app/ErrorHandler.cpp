#include "core/app/ErrorHandler.h"

#include "core/app/MessageBoxes.h"
#include "media/EMCIDeviceError.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <typeinfo>

namespace vorlo {

namespace {
std::function<void()> g_restoreWindow;
std::function<QString()> g_removeSelectedEntry;
std::function<void()> g_resetCursor;
}  // namespace

void ErrorHandler::setRestoreWindow(std::function<void()> restore) { g_restoreWindow = std::move(restore); }

void ErrorHandler::setResetCursor(std::function<void()> reset) { g_resetCursor = std::move(reset); }

void ErrorHandler::setRemoveSelectedEntry(std::function<QString()> remove) {
    g_removeSelectedEntry = std::move(remove);
}

bool ErrorHandler::run(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        handle(error);
    } catch (...) {
        handle(std::runtime_error("An unknown error occurred."));
    }
    return false;
}

QString ErrorHandler::className(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    const qsizetype colons = name.lastIndexOf(QStringLiteral("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

void ErrorHandler::handle(const std::exception& error) {
    if (g_restoreWindow) g_restoreWindow();
    if (g_resetCursor) g_resetCursor();
    QString caption = QStringLiteral("Error");
    // A media device that failed on an entry: the entry leaves the playlist and the box is captioned with it.
    if (dynamic_cast<const media::EMCIDeviceError*>(&error) && g_removeSelectedEntry) caption = g_removeSelectedEntry();
    MessageBoxes::show(caption, QString::fromLocal8Bit(error.what()) + QLatin1Char('\n') + className(error),
                       BoxIcon::Error);
}

}  // namespace vorlo
