#pragma once

#include <QString>
#include <QWidget>

namespace vorlo {

struct Options;

// One page of the configuration dialog. A page fills its controls when it is made (from the options and, for
// some, the system) and applies them at OK to an edited copy of the options, in the order of the pages; a page
// may also change the system at once (the file associations).
class ConfigurationPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual QString title() const = 0;
    // The help topic the Help button opens while this page is shown.
    virtual int helpContext() const = 0;
    // Applies the page to `edited`. False stops OK: the dialog stays open, the page has shown itself (showMe)
    // and told the user why; what the pages applied up to here is in force all the same.
    virtual bool apply(Options& edited) = 0;

signals:
    // The page wants to be the one shown, before it tells the user why OK stopped.
    void showMe();
};

}  // namespace vorlo
