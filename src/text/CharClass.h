// Character classes of Unicode, from HarfBuzz's tables of the general category.
//
//   IsWordCharacter(U'Ж')   // true: a letter
//   IsWordCharacter(U'!')   // false
#pragma once

namespace qz {

// A letter of any script, a mark that combines with one (the vowel signs of
// Devanagari, Hebrew points) or a decimal digit of any script.
bool IsWordCharacter(char32_t u);

}  // namespace qz
