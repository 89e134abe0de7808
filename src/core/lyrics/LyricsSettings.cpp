#include "core/lyrics/LyricsSettings.h"

#include "midi/TextEncoding.h"
#include "os/Registry.h"

#include <algorithm>

namespace vorlo {

LyricsSettings LyricsSettings::read() {
    LyricsSettings settings;
    Registry registry;
    if (!registry.openKeyReadOnly(QLatin1String(kKey))) return settings;
    const auto number = [&](const char* name) -> std::optional<int> {
        if (registry.valueType(QLatin1String(name)) != RegistryValue::Type::DWord) return std::nullopt;
        return registry.readInteger(QLatin1String(name));
    };
    const std::optional<int> left = number("Left");
    const std::optional<int> top = number("Top");
    const std::optional<int> width = number("Width");
    const std::optional<int> height = number("Height");
    if (left && top && width && height && *width > 0 && *height > 0)
        settings.place = Place{*left, *top, *width, *height};
    if (const std::optional<int> size = number("FontSize"))
        settings.pointSize = std::clamp(*size, kMinimumPointSize, kMaximumPointSize);
    if (registry.valueType(QStringLiteral("Encoding")) == RegistryValue::Type::String) {
        const QString name = registry.readString(QStringLiteral("Encoding"));
        for (const midi::TextCharsetName& choice : midi::textCharsets()) {
            if (name == QLatin1String(choice.name)) settings.encoding = name;
        }
    }
    return settings;
}

void LyricsSettings::save() const {
    const QString key = QLatin1String(kKey);
    RegistryBatch batch;
    if (place) {
        batch.writeInteger(key, QStringLiteral("Left"), place->left);
        batch.writeInteger(key, QStringLiteral("Top"), place->top);
        batch.writeInteger(key, QStringLiteral("Width"), place->width);
        batch.writeInteger(key, QStringLiteral("Height"), place->height);
    }
    batch.writeInteger(key, QStringLiteral("FontSize"), pointSize);
    batch.writeString(key, QStringLiteral("Encoding"), encoding);
    Registry().write(batch);
}

}  // namespace vorlo
