#pragma once

#include "core/settings/BrowserPlugin.h"
#include "core/settings/FileAssociations.h"
#include "player/settings/ConfigurationPage.h"

#include <memory>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;

namespace vorlo {

// "File Types Association" (`FAss`): the player as the program the desktop opens MIDI, video, wave and CD track
// files with, and the web browser's audio plug-in. What this page applies changes the system at once; its
// failures are told and do not keep the dialog open.
class FileTypesPage : public ConfigurationPage {
    Q_OBJECT
public:
    // Reads the associations and the plug-in state; when they cannot be read the user is told and the page's
    // boxes are disabled, so that OK changes nothing there.
    explicit FileTypesPage(QWidget* parent = nullptr);
    ~FileTypesPage() override;

    QString title() const override { return QStringLiteral("File Types Association"); }
    int helpContext() const override;
    bool apply(Options& edited) override;

    AssociationBoxes boxes() const;

private:
    void read();

    std::unique_ptr<FileAssociations> associations_;
    std::optional<BrowserPlugin> plugin_;
    QCheckBox* mid_;
    QCheckBox* avi_;
    QCheckBox* wav_;
    QCheckBox* cda_;
    QGroupBox* browser_;
    QButtonGroup* browserChoice_;
};

}  // namespace vorlo
