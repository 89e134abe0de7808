#pragma once

#include <QApplication>

namespace vorlo {

// The player's application object. It makes real message boxes the default way the core asks the user, lets the
// error handler put the normal cursor back, and routes exceptions that escape an event handler to the error
// handler instead of ending the program.
class PlayerApplication : public QApplication {
public:
    PlayerApplication(int& argc, char** argv);
    ~PlayerApplication() override;
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vorlo
