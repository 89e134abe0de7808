#pragma once

#include "player/settings/MidiResetPage.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTabWidget;

namespace vorlo {

class ConfigurationPage;
class FileTypesPage;
class PlayControlPage;
class Settings;

// "MIDI Vorlo Configuration": the options that have no menu of their own, on pages. It edits a copy of the
// settings' options; OK applies the pages in their order and hands the copy to the settings (which tell what
// changed), Cancel forgets everything that OK has not applied. Nothing is written to the settings file here:
// the options are saved when the player closes. A page that stops OK keeps the dialog open on that page, and
// what the pages before it applied is in force. Further pages are added after the three with addPage().
class TPagesDlg : public QDialog {
    Q_OBJECT
public:
    enum Page { PlayControl = 0, FileTypes = 1, MidiReset = 2 };
    static constexpr int kClientWidth = 427;
    static constexpr int kClientHeight = 300;

    // `browse` asks for a customised reset file (the player lends its list open dialog).
    TPagesDlg(Settings& settings, MidiResetPage::Browser browse, QWidget* parent = nullptr);

    // Adds a page after the others (the dialog owns it); its captions fit as the others' do.
    void addPage(ConfigurationPage* page);
    void showPage(int index);
    int shownPage() const;
    ConfigurationPage* page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }

    PlayControlPage* playControl() const;
    FileTypesPage* fileTypes() const;
    MidiResetPage* midiReset() const;

    void OKBtnClick();
    void HelpBtnClick();

private:
    void fitTexts();

    Settings& settings_;
    QTabWidget* pageControl_;
    std::vector<ConfigurationPage*> pages_;
};

}  // namespace vorlo
