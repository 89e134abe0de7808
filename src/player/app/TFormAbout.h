#pragma once

#include <QDialog>
#include <QString>

namespace vorlo {

// The About box: the program's name and version, and two links: Help opens the player's own help window at its
// contents, as F1 does; Read Me opens the read-me with the desktop's program for text files (DesktopOpener, which
// tells the user when that cannot be done).
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    TFormAbout(const QString& programFolder, QWidget* parent = nullptr);

    QString readMePage() const { return readMePage_; }

private:
    QString readMePage_;
};

}  // namespace vorlo
