#pragma once

#include "os/Registry.h"
#include "setup/SetupPrompts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace vorlo::test {

// Prompts that remember every message and answer the desktop question as told: the person at the keyboard.
class RecordingPrompts : public SetupPrompts {
public:
    void show(const SetupMessage& message) override { messages.push_back(message); }
    bool ask(const SetupMessage& question) override {
        messages.push_back(question);
        return answerYes;
    }
    QStringList texts() const;
    bool has(const QString& text, const QString& caption) const;

    std::vector<SetupMessage> messages;
    bool answerYes = false;
};

// A home of its own for one test: HOME, the XDG folders and the settings store inside a temporary folder, and a
// small distribution folder holding every file of the product (stand-in contents; the real one is `make dist`'s).
class SetupRig {
public:
    SetupRig();
    ~SetupRig();

    QString home() const { return dir_.path() + QStringLiteral("/home"); }
    QString dist() const { return dir_.path() + QStringLiteral("/dist"); }
    QString programFolder() const { return home() + QStringLiteral("/MIDIVorlo"); }
    QString applications() const { return home() + QStringLiteral("/.local/share/applications"); }
    QString desktop() const { return home() + QStringLiteral("/Desktop"); }

    // Every file and link under `folder`, relative to it, sorted ("Reset/Gm_reset.mid"); folders end in "/".
    static QStringList tree(const QString& folder);
    static QByteArray read(const QString& file);
    static void write(const QString& file, const QByteArray& bytes);
    // The default value of a key; nothing when the key or the value is missing.
    static std::optional<QString> value(RegistryRoot root, const QString& key, const QString& name = QString());

private:
    QTemporaryDir dir_;
    QByteArray savedHome_;
};

}  // namespace vorlo::test
