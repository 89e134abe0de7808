// Fuzz target: the reader and editor of a user's mimeapps.list. Whatever the bytes, an edit names the type once
// in "[Default Applications]" (or not at all after a removal), and the text written reads back the same.
#include "os/MimeAppsList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString type = QStringLiteral("audio/midi");
    vorlo::MimeAppsList list = vorlo::MimeAppsList::parse(bytes);
    const QByteArray read = list.text();
    if (vorlo::MimeAppsList::parse(read).text() != read) std::abort();

    list.setDefault(type, QStringLiteral("midi-vorlo.desktop"));
    const vorlo::MimeAppsList set = vorlo::MimeAppsList::parse(list.text());
    if (set.defaultApplications(type) != QStringList{QStringLiteral("midi-vorlo.desktop")}) std::abort();
    if (set.text() != list.text()) std::abort();

    list.removeDefault(type);
    if (vorlo::MimeAppsList::parse(list.text()).defaultFor(type)) std::abort();
    return 0;
}
