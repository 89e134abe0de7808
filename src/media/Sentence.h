#pragma once

#include <string>

namespace vorlo::media {

// A message ends in one full stop, whether or not its last part (a library's error text, such as libsndfile's
// "Format not recognised.") brings one: a trailing full stop, blank or line break of the text is dropped first.
inline std::string withFullStop(std::string text) {
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\n')) text.pop_back();
    return text + '.';
}

}  // namespace vorlo::media
