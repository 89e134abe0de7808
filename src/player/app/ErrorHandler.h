#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

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
    static void handle(const std::exception& error);

    // The class name shown under an error's message, without namespaces ("RegistryError").
    static QString className(const std::exception& error);
};

// The application object: routes exceptions that escape an event handler to the ErrorHandler instead of
// ending the program.
class PlayerApplication : public QApplication {
public:
    PlayerApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vorlo
