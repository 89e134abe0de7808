#include "os/RegistryHive.h"

#include <QRegularExpression>

namespace vorlo {

namespace {

const QByteArray kHeader = "MIDI Vorlo settings hive 1";

QString quote(const QString& s) {
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : s) {
        switch (c.unicode()) {
            case '\\': out += QStringLiteral("\\\\"); break;
            case '"': out += QStringLiteral("\\\""); break;
            case '\n': out += QStringLiteral("\\n"); break;
            case '\r': out += QStringLiteral("\\r"); break;
            case '\t': out += QStringLiteral("\\t"); break;
            default:
                if (c.unicode() < 0x20) {
                    out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
                } else {
                    out += c;
                }
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted string starting at `pos` (which must be a quote); returns the position after it, or -1.
qsizetype unquote(const QString& line, qsizetype pos, QString& out) {
    if (pos >= line.size() || line[pos] != QLatin1Char('"')) return -1;
    out.clear();
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) return i + 1;
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= line.size()) return -1;
        switch (line[i].unicode()) {
            case '\\': out += QLatin1Char('\\'); break;
            case '"': out += QLatin1Char('"'); break;
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            case 'x': {
                bool ok = false;
                const int code = line.mid(i + 1, 2).toInt(&ok, 16);
                if (!ok || line.mid(i + 1, 2).size() != 2) return -1;
                out += QChar(code);
                i += 2;
                break;
            }
            default: return -1;
        }
    }
    return -1;
}

}  // namespace

RegistryError RegistryError::damagedFile(const QString& fileName, const QString& damage) {
    RegistryError error(QStringLiteral("The settings file %1 is damaged (%2). It has been left as it is; repair or "
                                       "remove it.")
                            .arg(fileName, damage));
    error.damagedFile_ = fileName;
    error.damage_ = damage;
    return error;
}

QString RegistryHive::normalisePath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

bool RegistryHive::hasKey(const QString& path) const { return findKey(path) != nullptr; }

RegistryHive::Key* RegistryHive::findKey(const QString& path) {
    auto it = keys_.find(fold(normalisePath(path)));
    return it == keys_.end() ? nullptr : &it.value();
}

const RegistryHive::Key* RegistryHive::findKey(const QString& path) const {
    auto it = keys_.find(fold(normalisePath(path)));
    return it == keys_.end() ? nullptr : &it.value();
}

RegistryHive::Key& RegistryHive::createKey(const QString& path) {
    const QStringList parts = normalisePath(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString prefix;
    Key* key = nullptr;
    for (const QString& part : parts) {
        prefix = prefix.isEmpty() ? part : prefix + QLatin1Char('\\') + part;
        auto it = keys_.find(fold(prefix));
        if (it == keys_.end()) {
            Key created;
            created.path = prefix;
            it = keys_.insert(fold(prefix), created);
        }
        key = &it.value();
        prefix = key->path;  // keep the spelling of existing parents
    }
    if (!key) throw RegistryError(QStringLiteral("A key needs a name."));
    return *key;
}

bool RegistryHive::deleteKey(const QString& path) {
    const QString folded = fold(normalisePath(path));
    if (folded.isEmpty() || !keys_.contains(folded)) return false;
    const QString childPrefix = folded + QLatin1Char('\\');
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it.key() == folded || it.key().startsWith(childPrefix))
            it = keys_.erase(it);
        else
            ++it;
    }
    return true;
}

QStringList RegistryHive::subKeyNames(const QString& path) const {
    const QString folded = fold(normalisePath(path));
    const QString childPrefix = folded.isEmpty() ? QString() : folded + QLatin1Char('\\');
    QStringList names;
    for (auto it = keys_.begin(); it != keys_.end(); ++it) {
        if (!it.key().startsWith(childPrefix) || it.key() == folded) continue;
        const QString rest = it.value().path.mid(childPrefix.size());
        if (!rest.contains(QLatin1Char('\\'))) names << rest;
    }
    return names;
}

const RegistryValue* RegistryHive::value(const Key& key, const QString& name) {
    auto it = key.values.find(fold(name));
    return it == key.values.end() ? nullptr : &it.value();
}

void RegistryHive::setValue(Key& key, const QString& name, const RegistryValue& value) {
    const QString folded = fold(name);
    if (!key.valueNames.contains(folded)) key.valueNames.insert(folded, name);
    key.values.insert(folded, value);
}

bool RegistryHive::deleteValue(Key& key, const QString& name) {
    const QString folded = fold(name);
    key.valueNames.remove(folded);
    return key.values.remove(folded) > 0;
}

QStringList RegistryHive::valueNames(const Key& key) { return key.valueNames.values(); }

QByteArray RegistryHive::serialise() const {
    QString out = QString::fromLatin1(kHeader) + QLatin1Char('\n');
    for (const Key& key : keys_) {
        out += QStringLiteral("\n[%1]\n").arg(key.path);
        for (auto it = key.values.begin(); it != key.values.end(); ++it) {
            const QString& name = key.valueNames.value(it.key());
            out += name.isEmpty() ? QStringLiteral("@") : quote(name);
            if (it->type == RegistryValue::Type::DWord)
                out += QStringLiteral("=dword:%1\n").arg(it->number, 8, 16, QLatin1Char('0'));
            else
                out += QLatin1Char('=') + quote(it->text) + QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

RegistryHive RegistryHive::parse(const QByteArray& text, const QString& fileName) {
    RegistryHive hive;
    if (text.isEmpty()) return hive;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    auto damaged = [&](int lineNo, const QString& why) {
        return RegistryError::damagedFile(fileName, QStringLiteral("line %1: %2").arg(lineNo).arg(why));
    };
    if (lines.isEmpty() || lines.first().trimmed().toUtf8() != kHeader)
        throw damaged(1, QStringLiteral("not a settings file"));
    Key* key = nullptr;
    for (int i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 3)
                throw damaged(i + 1, QStringLiteral("a key line must be [path]"));
            key = &hive.createKey(line.mid(1, line.size() - 2));
            continue;
        }
        if (!key) throw damaged(i + 1, QStringLiteral("a value before the first key"));
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            pos = unquote(line, 0, name);
            if (pos < 0) throw damaged(i + 1, QStringLiteral("a value name must be quoted"));
        }
        if (pos >= line.size() || line[pos] != QLatin1Char('='))
            throw damaged(i + 1, QStringLiteral("'=' expected after the value name"));
        ++pos;
        RegistryValue value;
        if (line.mid(pos).startsWith(QStringLiteral("dword:"))) {
            const QString digits = line.mid(pos + 6);
            bool ok = false;
            const qulonglong number = digits.toULongLong(&ok, 16);
            if (!ok || digits.size() != 8 || number > 0xffffffffULL)
                throw damaged(i + 1, QStringLiteral("a dword needs eight hexadecimal digits"));
            value.type = RegistryValue::Type::DWord;
            value.number = static_cast<std::uint32_t>(number);
        } else {
            const qsizetype end = unquote(line, pos, value.text);
            if (end != line.size()) throw damaged(i + 1, QStringLiteral("a string value must be quoted"));
        }
        setValue(*key, name, value);
    }
    return hive;
}

}  // namespace vorlo
