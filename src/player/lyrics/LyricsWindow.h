#pragma once

#include "core/lyrics/LyricsFollower.h"
#include "core/lyrics/LyricsSettings.h"

#include <QTimer>
#include <QWidget>

#include <optional>

class QAction;
class QActionGroup;
class QLabel;
class QMenuBar;
class QTextBrowser;

namespace vorlo {

class PlaybackEngine;

// The karaoke and lyrics window: the open song's words with the syllables sung so far highlighted, the line sung
// kept in view, a karaoke file's title and information above them. It follows play, pause, seeks and the next
// song by asking the follower where the song stands several times a second while it is shown. Its menus choose
// the encoding of the song's texts and the size of the text; where it stands, the size and the encoding are kept
// between runs (LyricsSettings). User-interface thread only.
class LyricsWindow : public QWidget {
    Q_OBJECT
public:
    // How often the place sung is looked at while the window is shown.
    static constexpr int kRefreshMs = 40;

    explicit LyricsWindow(PlaybackEngine& engine, QWidget* parent = nullptr);
    ~LyricsWindow() override;

    LyricsFollower& follower() { return follower_; }
    // Brings the window up, reading its settings the first time.
    void showLyrics();
    // Keeps where it stands, its text size and encoding; shows what fails and never throws.
    void saveSettings();

    int pointSize() const { return settings_.pointSize; }
    void setPointSize(int points);
    void setCharset(midi::TextCharset charset);
    // What is shown now, for tests: the title, the information, the text, and the place highlighted.
    QString titleText() const;
    QString informationText() const;
    QString plainText() const;
    const midi::LyricsPlace& shownPlace() const { return shown_; }
    // The words sung so far on the line highlighted.
    QString sungText() const;
    // Looks at the place sung now and shows it (the timer's tick).
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void showLyricsRead();
    void render();
    void scrollToLine(int line);

    LyricsFollower follower_;
    LyricsSettings settings_;
    bool settingsRead_ = false;
    QTimer timer_;
    QMenuBar* menuBar_ = nullptr;
    QActionGroup* encodings_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* information_ = nullptr;
    QTextBrowser* text_ = nullptr;
    midi::LyricsPlace shown_;
};

}  // namespace vorlo
