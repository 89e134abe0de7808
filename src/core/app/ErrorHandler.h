#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace vorlo {

// The application-wide handler for every error that was not handled where it arose: it brings the window back
// when it was hidden, resets the cursor and tells the user what went wrong.
class ErrorHandler {
public:
    // Makes the main window visible again (and leaves the tray); set by the main window.
    static void setRestoreWindow(std::function<void()> restore);
    // Removes the selected playlist line after a media device error and returns its display name, the caption
    // of the error's box; set by the main window.
    static void setRemoveSelectedEntry(std::function<QString()> remove);
    // Puts the normal cursor back, however many operations left the hourglass up; set by the user interface.
    static void setResetCursor(std::function<void()> reset);
    static void handle(const std::exception& error);

    // The error boundary of one command: runs it and hands an error that escapes it to handle(), so that
    // nothing is thrown through a signal. Returns false after an error. Every user command, timer and report
    // handler of the player runs inside one.
    static bool run(const std::function<void()>& command);
    // A slot for connect(): `command`, given the signal's arguments when it takes them, run inside run().
    template <class Command>
    static auto guard(Command command) {
        return [command = std::move(command)](auto&&... arguments) -> void {
            run([&] {
                if constexpr (std::is_invocable_v<const Command&, decltype(arguments)...>)
                    command(std::forward<decltype(arguments)>(arguments)...);
                else
                    command();
            });
        };
    }

    // The class name shown under an error's message, without namespaces ("RegistryError").
    static QString className(const std::exception& error);
};

}  // namespace vorlo
