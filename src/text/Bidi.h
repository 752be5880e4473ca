// The Unicode bidirectional algorithm over the message, through FriBidi: which
// characters run right to left and in which order the runs stand on the line.
//
//   TBidiLine line = ResolveBidi(U"abc \u05E9\u05DC\u05D5\u05DD");
//   line.Levels[5] & 1          // 1: that character runs right to left
//   line.VisualToLogical[0]     // the character standing leftmost
//
// The message is one paragraph on one line; its direction is that of its first
// strong character (left to right when it has none).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qz {

struct TBidiLine {
  std::vector<uint8_t> Levels;        // per character: the embedding level, odd for right to left
  std::vector<int> VisualToLogical;   // per position from the left: the character there
};

TBidiLine ResolveBidi(std::u32string_view text);

}  // namespace qz
