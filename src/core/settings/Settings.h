#pragma once

#include "core/settings/Options.h"

#include <QObject>
#include <QStringList>

#include <vector>

namespace vorlo {

class RegistryError;

// Which options differ between two sets of options: rows of the option table.
class OptionChanges {
public:
    static OptionChanges between(const Options& before, const Options& after);

    bool isEmpty() const { return fields_.empty() && !sound_; }
    // Whether the sound options changed.
    bool sound() const { return sound_; }
    // Whether the option held in `member` changed, e.g. contains(&Options::skip).
    template <class T>
    bool contains(T Options::*member) const {
        for (const OptionField* field : fields_) {
            const auto* held = std::get_if<T Options::*>(&field->member);
            if (held && *held == member) return true;
        }
        return false;
    }
    // The value names of the changed options, in the order of the table.
    QStringList valueNames() const;

private:
    std::vector<const OptionField*> fields_;
    bool sound_ = false;
};

// The options of the running player: read once at start, held for the run, written once at close. The
// configuration dialog edits a copy and applies it; listeners hear which options that changed. User-interface
// thread only.
//
// A damaged settings file is never overwritten: it is moved aside under a name that says so, the user is told
// once which file was kept, and the player runs on its default options, which the save at close then writes
// afresh.
class Settings : public QObject {
    Q_OBJECT
public:
    explicit Settings(QObject* parent = nullptr);

    const Options& options() const { return options_; }
    // For the parts of the window that keep an option current while the player runs (a menu mark, the counter
    // mode): such changes are saved at close but not announced.
    Options& options() { return options_; }

    // Reads the options (Options::read) with `runningFolder` as the program folder when setup never ran.
    // Returns false on a first run (no options key). A damaged settings file is set aside and reported, and the
    // options are the defaults (not a first run). Throws RegistryError when the settings cannot be read for
    // another reason, or the damaged file cannot be moved aside; the options are the defaults then.
    bool read(const QString& runningFolder);

    // Takes an edited copy of the options and emits changed() when any option differs.
    void apply(const Options& edited);

    // Writes every option in one rewrite of the settings file (Options::save). A settings file damaged while
    // the player ran is set aside and reported first. Throws RegistryError when the write fails.
    void save(const QStringList& history);

signals:
    void changed(const vorlo::OptionChanges& changes);

private:
    // Moves the damaged settings file aside and tells the user which file was kept; false when it stayed.
    static bool setAside(const RegistryError& error);

    Options options_;
};

}  // namespace vorlo
