#pragma once

#include "config/ConfigDocument.h"

#include <array>
#include <cstdint>
#include <optional>

// Display list positions <-> the data source codes stored in CDC.
//
// Displays 1 and 2 and both bar graphs share one list; display 3 has a longer
// one with the time and race timer sources, so a position means different
// codes in the two. Only codes are stored; positions never cross lists.

namespace orvane {

enum class SourceList {
    Standard, // 29 items: displays 1 and 2, left and right bar graph
    Display3  // 33 items: digital display 3
};

inline constexpr int kStandardListSize = 29;
inline constexpr int kDisplay3ListSize = 33;

// CDC bytes holding the data source codes of displays 1, 2, 3, the left and
// the right bar graph.
inline constexpr std::array<int, 5> kSourceBytes = {28, 48, 68, 88, 108};

// Code that no list names but that stands one past the end of each list.
inline constexpr uint8_t kCodeOnePastList = 34;

int listSize(SourceList list);

// Whether CDC byte n holds a data source code (one of kSourceBytes).
bool isSourceByte(int byteNumber);

// The list a data source byte is chosen from. Any other byte is a programming
// error: the check reports it and the standard list answers.
SourceList listForByte(int byteNumber);

// The code a list position stores; 0 ("None - Blank") for -1 (nothing
// selected) and for positions past the list.
uint8_t codeForPosition(SourceList list, int position);

// The position a stored code points at: the exact inverse for the codes the
// list holds, one past the last item for code 34, and the position equal to
// the code for any other code. The result may lie outside the list.
int positionForCode(uint8_t code, SourceList list);

// The item a chooser should show for a stored code, or nothing when the list
// does not hold that code. A code the list cannot show gets no selection
// rather than an unrelated item, so that nothing suggests it was stored.
std::optional<int> chooserSelection(uint8_t code, SourceList list);

// The configuration being edited: kCurrentConfiguration when it is 1..16. Any other
// value (only a damaged file or instrument can give one) edits configuration
// 1 and leaves the stored byte alone.
int currentConfiguration(const ConfigImage &image);

// Stores the code for a list position into CDC byte n (28, 48, 68, 88 or 108)
// of the current configuration; byte 68 uses display 3's list. Any other byte
// is a programming error: checked, and nothing is stored.
void ConvertListIndexData(ConfigDocument &document, int position, int byteNumber);

} // namespace orvane
