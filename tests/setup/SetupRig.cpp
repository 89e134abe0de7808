#include "SetupRig.h"

#include "os/Registry.h"
#include "setup/ProductFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace vorlo::test {

QStringList RecordingPrompts::texts() const {
    QStringList out;
    for (const SetupMessage& m : messages) out << m.caption + QStringLiteral(": ") + m.text;
    return out;
}

bool RecordingPrompts::has(const QString& text, const QString& caption) const {
    for (const SetupMessage& m : messages)
        if (m.text == text && m.caption == caption) return true;
    return false;
}

SetupRig::SetupRig() : savedHome_(qgetenv("HOME")) {
    QDir().mkpath(home());
    qputenv("HOME", QFile::encodeName(home()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home() + QStringLiteral("/.local/share")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home() + QStringLiteral("/.config")));
    qputenv("VORLO_CONFIG_DIR", QFile::encodeName(home() + QStringLiteral("/.config/vorlo")));
    QStringList files{product::kPlayer, product::kSetup, product::kReadMe, product::kFileId, product::kVideoModule};
    files << product::helpPages() << product::kSamples << product::kResetFiles;
    for (const QString& name : files) write(dist() + QLatin1Char('/') + name, "contents of " + name.toUtf8());
    QFile::setPermissions(dist() + QLatin1Char('/') + product::kPlayer,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

SetupRig::~SetupRig() {
    qputenv("HOME", savedHome_);
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("VORLO_CONFIG_DIR");
}

QStringList SetupRig::tree(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        out << QDir(folder).relativeFilePath(path) +
                   (info.isDir() && !info.isSymLink() ? QStringLiteral("/") : QString());
    }
    out.sort();
    return out;
}

QByteArray SetupRig::read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SetupRig::write(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

std::optional<QString> SetupRig::value(RegistryRoot root, const QString& key, const QString& name) {
    Registry registry(root);
    if (!registry.openKeyReadOnly(QLatin1Char('\\') + key) || !registry.valueExists(name)) return std::nullopt;
    return registry.readString(name);
}

}  // namespace vorlo::test
