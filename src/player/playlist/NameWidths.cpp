#include "player/playlist/NameWidths.h"

#include <algorithm>

namespace vorlo {

namespace {

// Scripts that are shaped in context (joining, reordering, combining): a sum of character advances says little.
bool needsShaping(char16_t c) {
    if (c >= 0x0300 && c < 0x0370) return true;  // combining diacritical marks
    if (c >= 0x0590 && c < 0x1100) return true;  // Hebrew, Arabic, Syriac, ... Indic, Thai, Tibetan, Myanmar
    if (c >= 0x1700 && c < 0x1E00) return true;  // Philippine, Khmer, Mongolian, ... Balinese
    if (c >= 0xD800 && c < 0xE000) return true;  // surrogates: a character outside the basic plane
    if (c >= 0xFB1D && c < 0xFE00) return true;  // Hebrew and Arabic presentation forms
    if (c >= 0xFE70 && c < 0xFF00) return true;
    return false;
}

}  // namespace

int NameWidths::advance(char16_t c) {
    if (c < 256) {
        if (!latinKnown_[c]) {
            latin_[c] = metrics_.horizontalAdvance(QChar(c));
            latinKnown_[c] = true;
        }
        return latin_[c];
    }
    auto found = others_.constFind(c);
    if (found != others_.constEnd()) return *found;
    const int width = metrics_.horizontalAdvance(QChar(c));
    others_.insert(c, width);
    return width;
}

int NameWidths::estimate(const QString& text) {
    int width = 0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        // Most names are Latin: one look-up a character once its width is known.
        if (unit < latin_.size() && latinKnown_[unit]) {
            width += latin_[unit];
            continue;
        }
        if (needsShaping(unit)) return -1;
        width += advance(unit);
    }
    return width;
}

int NameWidths::widest(int first, int last, const std::function<const QString&(int)>& name) {
    int best = 0;
    int widestGuess = -1;
    int widestIndex = -1;
    for (int i = first; i <= last; ++i) {
        const QString& text = name(i);
        const int guess = estimate(text);
        if (guess < 0) {
            best = std::max(best, metrics_.horizontalAdvance(text));
        } else if (guess > widestGuess) {
            widestGuess = guess;
            widestIndex = i;
        }
    }
    // The name estimated widest is measured exactly; where kerning made it narrower than its characters, the
    // estimate stands, so no name is ever cut off.
    if (widestIndex >= 0) best = std::max({best, widestGuess, metrics_.horizontalAdvance(name(widestIndex))});
    return best;
}

}  // namespace vorlo
