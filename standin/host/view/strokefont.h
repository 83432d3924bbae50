// The drawing view's own stroke font: the printable ASCII characters drawn as polylines in a
// cell 6 units high from the baseline to the capitals and 6 units wide, glyphs 4 units wide.
#pragma once

#include <utility>
#include <vector>

namespace standin {

constexpr double kFontCapHeight = 6;
constexpr double kFontAdvance = 6;

using Stroke = std::vector<std::pair<double, double>>;

// The strokes of a character in font units (x from the cell's left, y up from the baseline,
// descenders below 0); false for a character the font has no glyph for.
bool GlyphStrokes(wchar_t c, std::vector<Stroke>& strokes);

}  // namespace standin
