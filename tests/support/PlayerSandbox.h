#pragma once

#include "os/Registry.h"

#include "ScriptedMessageBoxes.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace vorlo::test {

// A test with the player's settings and temporary folder inside a fresh temporary folder, and scripted message
// boxes. `storeOptions` leaves the settings as a player does after its first close, so start-up does not take
// the first-run path.
class PlayerSandbox : public ::testing::Test {
protected:
    static inline const QString kOptionsKey = QStringLiteral("\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Options");

    void SetUp() override;
    void TearDown() override;
    void storeOptions(const std::function<void(Registry&)>& fill = {});
    // The settings file of the current user, as bytes; writing it replaces whatever is there.
    static QString hive() { return Registry::hiveFile(RegistryRoot::CurrentUser); }
    static QByteArray fileBytes(const QString& file);
    static void writeHive(const QByteArray& bytes);
    QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir_;
    ScriptedMessageBoxes boxes_;
};

}  // namespace vorlo::test
