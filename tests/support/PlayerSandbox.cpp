#include "PlayerSandbox.h"

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

}  // namespace vorlo::test
