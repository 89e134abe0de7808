// The widest name of a list, found without shaping every name: never narrower than the exact width of any name.
#include "player/playlist/NameWidths.h"

#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vorlo {
namespace {

int exactWidest(const QFontMetrics& metrics, const std::vector<QString>& names) {
    int widest = 0;
    for (const QString& name : names) widest = std::max(widest, metrics.horizontalAdvance(name));
    return widest;
}

int widest(const QFontMetrics& metrics, const std::vector<QString>& names) {
    NameWidths widths(metrics);
    return widths.widest(0, static_cast<int>(names.size()) - 1,
                         [&names](int i) -> const QString& { return names[static_cast<std::size_t>(i)]; });
}

TEST(NameWidths, NoNameIsWiderThanTheWidthFoundAndTheWidestFitsClosely) {
    const QFontMetrics metrics(QApplication::font());
    // Kerned pairs, wide and narrow letters, accents, a name shaped right to left, Devanagari and a character
    // outside the basic plane: the widest differs from one list to the next.
    const std::vector<std::vector<QString>> lists = {
        {"a.mid", "AVAVAVAVAVAVAV.mid", "iiiiiiiiiiiiiiiiiiii.mid"},
        {"WWWWWWWWWW.kar", "Wa To Ta Yo.mid", "Straße Élan Ñandú.mid"},
        {QString::fromUtf8("\u0645\u0648\u0633\u064A\u0642\u0649 \u0627\u0644\u0644\u064A\u0644.mid"), "x.mid"},
        {QString::fromUtf8("\u0938\u0902\u0917\u0940\u0924 \u0915\u0940 \u0927\u0941\u0928.mid"), "ab.mid"},
        {QString::fromUtf8("\U0001D11E\U0001D11E\U0001D11E clef.mid"), "c.mid"},
    };
    for (const std::vector<QString>& names : lists) {
        const int exact = exactWidest(metrics, names);
        const int found = widest(metrics, names);
        EXPECT_GE(found, exact) << names.front().toStdString();
        // Kerning makes a name narrower than its characters by a few per cent at most.
        EXPECT_LE(found, exact + exact / 10 + 2) << names.front().toStdString();
    }
    EXPECT_EQ(widest(metrics, {}), 0);
}

}  // namespace
}  // namespace vorlo
