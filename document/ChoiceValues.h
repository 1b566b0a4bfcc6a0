#pragma once
// The fixed choice lists shared by the dialogs, the root statement and the
// line-picture generator. Plain C++ so that build tools can include it.
#include <array>

namespace vi {

// Colour names in list order; stored and exported as these names.
inline constexpr std::array<const char*, 16> kColourNames = {"Black", "White",  "Gray",   "Silver", "Red",  "Green",
                                                             "Blue",  "Yellow", "Purple", "Olive",  "Navy", "Aqua",
                                                             "Lime",  "Maroon", "Teal",   "Fuchsia"};

inline constexpr std::array<const char*, 7> kFontSizes = {"1", "2", "3", "4", "5", "+1", "-1"};

// TreeSize is an index into this list; the export takes the height from the text.
inline constexpr std::array<const char*, 5> kItemHeights = {"16 Pixels", "20 Pixels", "24 Pixels", "28 Pixels",
                                                            "32 Pixels"};

inline constexpr int kDefaultColourIndex = 2;     // "Gray"
inline constexpr int kDefaultFontSizeIndex = 1;   // "2"
inline constexpr int kDefaultItemHeightIndex = 1; // "20 Pixels"

} // namespace vi
