#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorlo {

// The text of a freedesktop mimeapps.list: which application each MIME type opens with, in the group
// "[Default Applications]". Edits change only the line of the type they are about; every other line (other
// groups, comments, blank lines, the order) stays exactly as it was, so the file the user and other programs
// keep there is not reshaped.
class MimeAppsList {
public:
    static constexpr const char* kDefaultGroup = "Default Applications";

    static MimeAppsList parse(const QByteArray& text);
    QByteArray text() const;

    // The value for `mimeType` in "[Default Applications]" as written ("a.desktop;b.desktop;"); nothing when the
    // type has no line there. Types are matched without regard to case.
    std::optional<QString> defaultFor(const QString& mimeType) const;
    // The desktop entries named by that value, in order.
    QStringList defaultApplications(const QString& mimeType) const;

    // Replaces the type's line (a type named twice keeps only that line), or adds one at the end of the group
    // (the group is added when missing).
    void setDefault(const QString& mimeType, const QString& value);
    // Removes the type's line (every one, when it is named more than once); an empty group stays.
    void removeDefault(const QString& mimeType);

private:
    // The index of the group's header line; -1 when there is none.
    qsizetype groupLine() const;
    // The index of the type's line in the group; -1 when there is none.
    qsizetype entryLine(const QString& mimeType) const;
    // The index after the group's last line.
    qsizetype groupEnd(qsizetype header) const;
    // Removes the group's lines for `mimeType` after the line `after`.
    void removeLaterLines(const QString& mimeType, qsizetype after);

    QStringList lines_;
    bool endsWithNewline_ = true;
};

}  // namespace vorlo
