// The code streams of a GIF frame's image data: the standard LZW coder, and the
// run-length coder that sends no code the decoder would have to look up far.
//
// EncodeLzwCodes: the dictionary of strings a GIF decoder builds, grown by one string
// per code, codes widening from minCodeSize + 1 up to 12 bits; when the dictionary is
// full, a Clear starts it afresh. Any GIF decoder reads it.
//
// EncodeRunLengthCodes: written without a dictionary search. Every code we send is a run of one index: a literal, or a run
// code the decoder has built (or is building with this very code) from the codes
// before it. The decoder widens its codes once its table reaches the next power of
// two; a Clear code comes before that, so all codes stay minCodeSize + 1 bits wide.
//
// Why it decodes: after a Clear the decoder adds one table entry per code from the
// second on, the string of the previous code followed by the first index of the
// current one. Sending the code it is about to add (the next free code) right after
// a run of index c of length L therefore means c repeated L + 1 times; and any entry
// it added between two codes of one index c is a run of c we may send again later.
//
//   std::vector<uint8_t> bytes = EncodeLzwCodes(indices.data(), indices.size(), 8);
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qz {

// minCodeSize: 2..8, and every index must be below 2^minCodeSize (else
// std::invalid_argument). Gives the packed
// codes (least significant bit first), starting with a Clear code and ending with the
// End of Information code, not yet cut into sub-blocks.
std::vector<uint8_t> EncodeRunLengthCodes(const uint8_t* indices, size_t count, int minCodeSize);
// The same contract, coded with LZW.
std::vector<uint8_t> EncodeLzwCodes(const uint8_t* indices, size_t count, int minCodeSize);

}  // namespace qz
