// The blocks of the Unicode standard (version 14.0: 320 blocks, each a named range
// of code points), and which of them a font covers: the character map browses a font
// block by block.
//
//   std::vector<TCoveredBlock> blocks = CoveredBlocks(TFontEngine::CoveredCharacters("Arial"));
//   blocks[0].Block->Name      // "Basic Latin"
//   blocks[0].Characters       // the block's characters the font has, ascending
#pragma once

#include <span>
#include <vector>

namespace qz {

struct TUnicodeBlock {
  char32_t First;
  char32_t Last;
  const char* Name;
};

// Every block, ascending.
std::span<const TUnicodeBlock> UnicodeBlocks();

// The block that holds u; null for a code point outside every block.
const TUnicodeBlock* BlockOf(char32_t u);

struct TCoveredBlock {
  const TUnicodeBlock* Block;
  std::vector<char32_t> Characters;
};

// The blocks holding at least one of the characters (ascending, as the font engine
// lists them), each with those characters; characters outside every block are left
// out.
std::vector<TCoveredBlock> CoveredBlocks(const std::vector<char32_t>& characters);

}  // namespace qz
