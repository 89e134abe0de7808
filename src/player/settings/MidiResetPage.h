#pragma once

#include "core/settings/ResetModes.h"
#include "player/settings/ConfigurationPage.h"

#include <functional>
#include <optional>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace vorlo {

// "MIDI Reset" (`TabReset`): the reset file played before each MIDI song, as a mode (None, GM, GS, XG) or a
// customised file.
class MidiResetPage : public ConfigurationPage {
    Q_OBJECT
public:
    // Asks the user for a reset file, starting from the path typed so far; nothing when cancelled.
    using Browser = std::function<std::optional<QString>(const QString& typed)>;

    MidiResetPage(const Options& options, Browser browse, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("MIDI Reset"); }
    int helpContext() const override;
    // Takes the reset file of the chosen mode; an empty or missing customised file, one that is no MIDI file, or
    // a mode whose file is missing stops OK with its message.
    bool apply(Options& edited) override;

    ResetMode mode() const;
    QLineEdit* customFile() const { return customFile_; }

    void RadioResetClick();
    void BtnBrowseClick();

private:
    QString programFolder_;
    Browser browse_;
    QButtonGroup* modes_;
    QLineEdit* customFile_;
    QPushButton* browseButton_;
};

}  // namespace vorlo
