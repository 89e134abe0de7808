#pragma once

#include <QString>
#include <QWidget>

#include <functional>

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
    static constexpr int Sound = 250;
    static constexpr int Information = 270;

    // The topic of a context number; an unknown number gives the contents.
    static const HelpTopic& topic(int context);
};

// The player's help: its own pages (HTML in the program folder's "help" folder) in a window of its own.
// UI thread only.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Title = "MIDI Vorlo Help";
    static constexpr QSize DesignSize{640, 520};

    // `helpFolder` holds the pages; defaultHelpFolder() when empty.
    explicit HelpWindow(const QString& helpFolder = QString(), QWidget* parent = nullptr);

    // The "help" folder beside the program.
    static QString defaultHelpFolder();
    QString helpFolder() const { return folder_; }

    // Shows the topic of `context` and brings the window up in front of the player's windows, raised and
    // activated; a window that was closed opens fully on the work area of the screen of the window that asked
    // (the active one). Opened from a modal dialog it stays usable beside it. When the page is missing the user is
    // told so and false is returned.
    bool showContext(int context);

    // Who shows help topics for the player's windows (the information window's Help button, the About box's
    // Help link): the main window installs its help window, for as long as `owner` lives (nullptr: for good).
    // Until one is installed, and once its owner is gone, a help window of this module's own shows them.
    static void setViewer(const QObject* owner, std::function<void(int context)> viewer);
    static void showTopic(int context);

    QTextBrowser* browser() const { return browser_; }

private:
    void bringUp();
    void placeOnWorkArea(const QWidget* asking);

    QString folder_;
    QTextBrowser* browser_;
    bool placed_ = false;
};

}  // namespace vorlo
