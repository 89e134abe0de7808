#pragma once

#include <QDialog>
#include <QString>

#include <functional>

namespace vorlo {

// The About box: the program's name and version, and links to its help page and its read-me, which open with
// the desktop's handler.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    TFormAbout(const QString& programFolder, QWidget* parent = nullptr);

    QString helpPage() const { return helpPage_; }
    QString readMePage() const { return readMePage_; }

    // Opens a link; replaceable so that tests need no desktop.
    static void setLinkOpener(std::function<bool(const QString& path)> opener);

private:
    QString helpPage_;
    QString readMePage_;
};

}  // namespace vorlo
