#pragma once

namespace vorlo {

// The main window's client area (below the menu bar) as it was designed: the size of a first start, and the
// smallest the window allows while every part shows.
inline constexpr int kDesignClientWidth = 592;
inline constexpr int kDesignClientHeight = 298;

}  // namespace vorlo
