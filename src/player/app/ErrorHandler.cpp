#include "player/app/ErrorHandler.h"

#include "platform/media/EMCIDeviceError.h"
#include "player/app/MessageBoxes.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace vorlo {

namespace {
std::function<void()> g_restoreWindow;
std::function<QString()> g_removeSelectedEntry;
}  // namespace

void ErrorHandler::setRestoreWindow(std::function<void()> restore) { g_restoreWindow = std::move(restore); }

void ErrorHandler::setRemoveSelectedEntry(std::function<QString()> remove) { g_removeSelectedEntry = std::move(remove); }

QString ErrorHandler::className(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    const qsizetype colons = name.lastIndexOf(QStringLiteral("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

void ErrorHandler::handle(const std::exception& error) {
    if (g_restoreWindow) g_restoreWindow();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    QString caption = QStringLiteral("Error");
    // A media device that failed on an entry: the entry leaves the playlist and the box is captioned with it.
    if (dynamic_cast<const media::EMCIDeviceError*>(&error) && g_removeSelectedEntry) caption = g_removeSelectedEntry();
    MessageBoxes::show(caption, QString::fromLocal8Bit(error.what()) + QLatin1Char('\n') + className(error),
                       BoxIcon::Error);
}

PlayerApplication::PlayerApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool PlayerApplication::notify(QObject* receiver, QEvent* event) {
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
