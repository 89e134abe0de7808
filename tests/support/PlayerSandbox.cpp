#include "PlayerSandbox.h"

#include <QDir>
#include <QFile>

namespace vorlo::test {

void PlayerSandbox::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    qputenv("VORLO_CONFIG_DIR", QFile::encodeName(dir_.path() + QStringLiteral("/config")));
    qputenv("TMPDIR", QFile::encodeName(dir_.path()));
    // File associations go to the desktop's files of this user: the test's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/xdg-config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/xdg-data")));
}

void PlayerSandbox::TearDown() {
    qunsetenv("VORLO_CONFIG_DIR");
    qunsetenv("TMPDIR");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
}

void PlayerSandbox::storeOptions(const std::function<void(Registry&)>& fill) {
    Registry reg;
    ASSERT_TRUE(reg.openKey(kOptionsKey, true));
    reg.writeBool(QStringLiteral("AutoPlay"), true);
    if (fill) fill(reg);
}

QByteArray PlayerSandbox::fileBytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void PlayerSandbox::writeHive(const QByteArray& bytes) {
    QDir().mkpath(Registry::folder());
    QFile f(hive());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace vorlo::test
