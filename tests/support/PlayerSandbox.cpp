#include "PlayerSandbox.h"

#include <QDir>
#include <QFile>

namespace vorlo::test {

void PlayerSandbox::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    qputenv("VORLO_CONFIG_DIR", QFile::encodeName(dir_.path() + QStringLiteral("/config")));
    qputenv("TMPDIR", QFile::encodeName(dir_.path()));
}

void PlayerSandbox::TearDown() {
    qunsetenv("VORLO_CONFIG_DIR");
    qunsetenv("TMPDIR");
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
