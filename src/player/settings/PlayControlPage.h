#pragma once

#include "player/settings/ConfigurationPage.h"

class QButtonGroup;
class QCheckBox;

namespace vorlo {

class NumberBox;

// "Play Control" (`PControl`): the skip and wait seconds, auto-load, auto-check, close at the end of the list,
// and what to do with files handed over by a second start.
class PlayControlPage : public ConfigurationPage {
    Q_OBJECT
public:
    PlayControlPage(const Options& options, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("Play Control"); }
    int helpContext() const override;
    bool apply(Options& edited) override;

    NumberBox* skip() const { return skip_; }
    NumberBox* wait() const { return wait_; }

private:
    NumberBox* skip_;
    NumberBox* wait_;
    QCheckBox* autoLoad_;
    QCheckBox* autoCheck_;
    QCheckBox* listClose_;
    QButtonGroup* addPlay_;
};

}  // namespace vorlo
