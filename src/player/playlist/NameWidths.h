#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <array>
#include <functional>

namespace vorlo {

// The widest of many names in one font, in pixels, found without shaping every name: shaping a text (what
// QFontMetrics::horizontalAdvance does) costs microseconds, which a list of 100,000 names cannot afford. A name's
// width is the sum of its characters' advances (kept in a table), which kerning changes by a pixel or two at most;
// the widest is measured exactly as well and the larger of the two taken, so a name is never cut off. Names in
// scripts that are shaped in context (right-to-left, the scripts of South and South-East Asia, combining marks,
// characters outside the basic plane) are always measured exactly.
class NameWidths {
public:
    explicit NameWidths(const QFontMetrics& metrics) : metrics_(metrics) {}

    // The width of the widest of names[first..last]: at least what horizontalAdvance gives for each; 0 for none.
    int widest(int first, int last, const std::function<const QString&(int)>& name);

private:
    // The width from the characters' own advances, or -1 when the name must be shaped to know it.
    int estimate(const QString& text);
    int advance(char16_t c);

    QFontMetrics metrics_;
    std::array<int, 256> latin_{};
    std::array<bool, 256> latinKnown_{};
    QHash<char16_t, int> others_;
};

}  // namespace vorlo
