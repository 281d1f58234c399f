#pragma once
// The rules that a setting's value follows on its way in, from the file or from the dialog.
#include <cstddef>
#include <string>

#include "common/character_boundaries.h"

// A zero or negative wheel time would leave the arrow unlit: such a time becomes 1, the only
// setting that is corrected rather than replaced by its default.
constexpr int correctedWheelTime(int milliseconds) { return milliseconds < 1 ? 1 : milliseconds; }

// Cuts the text to at most maxBytes and drops a character of the code page that the cut or the
// text's end has parted from its last byte, so that what is kept ends on a character boundary.
void keepWholeCharacters(std::string& text, std::size_t maxBytes, const CodePage& codePage);
