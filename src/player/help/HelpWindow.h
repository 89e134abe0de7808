#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace vorlo {

// A topic of the help pages: the context number the player's windows ask for, the page and the place on it.
struct HelpTopic {
    int context;
    const char* page;
    const char* anchor;
};

class HelpTopics {
public:
    static constexpr int Contents = 101;
    static constexpr int MidiReset = 220;
    static constexpr int PlayControl = 230;
    static constexpr int FileTypes = 240;
    static constexpr int Information = 270;

    // The topic of a context number; an unknown number gives the contents.
    static const HelpTopic& topic(int context);
};

// The player's help: its own pages (HTML in the program folder's "help" folder) in a window of its own.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Title = "MIDI Vorlo Help";

    // `helpFolder` holds the pages; defaultHelpFolder() when empty.
    explicit HelpWindow(const QString& helpFolder = QString(), QWidget* parent = nullptr);

    // The "help" folder beside the program.
    static QString defaultHelpFolder();
    QString helpFolder() const { return folder_; }

    // Shows the topic of `context`, bringing the window up. When the page is missing the user is told so
    // and false is returned.
    bool showContext(int context);

    QTextBrowser* browser() const { return browser_; }

private:
    QString folder_;
    QTextBrowser* browser_;
};

}  // namespace vorlo
