#include "text/Bidi.h"

#include <fribidi.h>

#include <numeric>

namespace qz {

TBidiLine ResolveBidi(std::u32string_view text) {
  const auto n = static_cast<FriBidiStrIndex>(text.size());
  TBidiLine line;
  line.Levels.assign(text.size(), 0);
  line.VisualToLogical.resize(text.size());
  std::iota(line.VisualToLogical.begin(), line.VisualToLogical.end(), 0);
  if (n == 0) return line;

  const std::vector<FriBidiChar> chars(text.begin(), text.end());
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  std::vector<FriBidiLevel> levels(text.size());
  fribidi_get_bidi_types(chars.data(), n, types.data());
  fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
  FriBidiParType direction = FRIBIDI_PAR_ON;
  // 0 means FriBidi failed (it could not allocate): the line then stays left to right.
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction, levels.data()) == 0)
    return line;
  std::vector<FriBidiStrIndex> map(line.VisualToLogical.begin(), line.VisualToLogical.end());
  // The line's reordering also gives trailing blanks the paragraph's level.
  if (fribidi_reorder_line(0, types.data(), n, 0, direction, levels.data(), nullptr, map.data()) == 0) return line;
  line.Levels.assign(levels.begin(), levels.end());
  line.VisualToLogical.assign(map.begin(), map.end());
  return line;
}

}  // namespace qz
