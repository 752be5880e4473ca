#include "image/formats/GifCodeStream.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace qz {

namespace {

// Codes packed least significant bit first, as GIF wants them.
class TBitWriter {
 public:
  void Put(uint32_t code, int width) {
    acc_ |= static_cast<uint64_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }
  std::vector<uint8_t> Finish() {
    if (bits_ > 0) out_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
    acc_ = 0;
    bits_ = 0;
    return std::move(out_);
  }

 private:
  uint64_t acc_ = 0;
  int bits_ = 0;
  std::vector<uint8_t> out_;
};

class TRunLengthCoder {
 public:
  explicit TRunLengthCoder(int minCodeSize)
      : clear_(1 << minCodeSize),
        endOfInfo_(clear_ + 1),
        width_(minCodeSize + 1),
        // The decoder reads codes 1 .. 2^minCodeSize - 1 after a Clear at this width
        // and widens after that: so at most 2^minCodeSize - 2 codes, then a Clear.
        maxCodesPerSegment_(clear_ - 2),
        runCode_(256 * kMaxRun, 0),
        runStamp_(256 * kMaxRun, 0),
        longest_(256, 0),
        longestStamp_(256, 0) {
    Clear();
  }

  void EncodeRun(uint8_t index, size_t length) {
    while (length > 0) {
      if (codesSinceClear_ == maxCodesPerSegment_) Clear();
      int code = index;
      size_t len = 1;
      // The next free code, sent now, means the previous run one longer.
      if (codesSinceClear_ > 0 && prevIndex_ == index && static_cast<size_t>(prevLength_) + 1 <= length) {
        code = nextFree_;
        len = prevLength_ + 1;
      }
      int knownLength = 0;
      int knownCode = LongestKnownRun(index, length, knownLength);
      if (static_cast<size_t>(knownLength) > len) {
        code = knownCode;
        len = knownLength;
      }
      Send(code, index, static_cast<int>(len));
      length -= len;
    }
  }

  std::vector<uint8_t> Finish() {
    bits_.Put(endOfInfo_, width_);
    return bits_.Finish();
  }

 private:
  static constexpr int kMaxRun = 256;  // longer than any run a segment can build

  void Clear() {
    bits_.Put(clear_, width_);
    codesSinceClear_ = 0;
    nextFree_ = endOfInfo_ + 1;
    prevIndex_ = -1;
    prevLength_ = 0;
    ++segment_;
  }

  // Sends a code that stands for `length` times `index`, and follows the decoder:
  // from the second code after a Clear on, it adds the previous string plus this
  // code's first index; when both are runs of one index, that is a longer run.
  void Send(int code, uint8_t index, int length) {
    bits_.Put(static_cast<uint32_t>(code), width_);
    if (codesSinceClear_ > 0) {
      if (prevIndex_ == index) RememberRun(index, prevLength_ + 1, nextFree_);
      ++nextFree_;
    }
    ++codesSinceClear_;
    prevIndex_ = index;
    prevLength_ = length;
  }

  void RememberRun(uint8_t index, int length, int code) {
    if (length >= kMaxRun) return;
    size_t slot = static_cast<size_t>(index) * kMaxRun + length;
    if (runStamp_[slot] == segment_) return;  // keep the first code for that run
    runStamp_[slot] = segment_;
    runCode_[slot] = static_cast<uint16_t>(code);
    if (longestStamp_[index] != segment_) {
      longestStamp_[index] = segment_;
      longest_[index] = 0;
    }
    longest_[index] = std::max<int>(longest_[index], length);
  }

  // The code of the longest run of index the decoder holds that is no longer than
  // maxLength; length 0 when there is none.
  int LongestKnownRun(uint8_t index, size_t maxLength, int& length) const {
    length = 0;
    if (longestStamp_[index] != segment_) return 0;
    int l = static_cast<int>(std::min<size_t>(maxLength, longest_[index]));
    for (; l >= 2; --l) {
      size_t slot = static_cast<size_t>(index) * kMaxRun + l;
      if (runStamp_[slot] == segment_) {
        length = l;
        return runCode_[slot];
      }
    }
    return 0;
  }

  TBitWriter bits_;
  int clear_;
  int endOfInfo_;
  int width_;
  int maxCodesPerSegment_;
  int codesSinceClear_ = 0;
  int nextFree_ = 0;
  int prevIndex_ = -1;
  int prevLength_ = 0;
  // Runs the decoder holds since the last Clear, per index and length; an entry
  // counts only when its stamp is the current segment's, so a Clear forgets them all
  // without touching the tables.
  uint32_t segment_ = 0;
  std::vector<uint16_t> runCode_;
  std::vector<uint32_t> runStamp_;
  std::vector<uint16_t> longest_;
  std::vector<uint32_t> longestStamp_;
};

}  // namespace

std::vector<uint8_t> EncodeRunLengthCodes(const uint8_t* indices, size_t count, int minCodeSize) {
  if (minCodeSize < 2 || minCodeSize > 8)
    throw std::invalid_argument("A GIF minimum code size must be 2 to 8, not " + std::to_string(minCodeSize));
  TRunLengthCoder coder(minCodeSize);
  size_t i = 0;
  while (i < count) {
    if (indices[i] >> minCodeSize)
      throw std::invalid_argument("Index " + std::to_string(indices[i]) + " does not fit the GIF code size");
    size_t j = i + 1;
    while (j < count && indices[j] == indices[i]) ++j;
    coder.EncodeRun(indices[i], j - i);
    i = j;
  }
  return coder.Finish();
}

namespace {

constexpr int MaxLzwBits = 12;
constexpr uint32_t MaxLzwCodes = 1u << MaxLzwBits;

// The dictionary: the code of the string (prefix code, next index), or 0 for none.
// Stamped by generation, so a Clear forgets every entry without touching them.
class TLzwDictionary {
 public:
  TLzwDictionary() : code_(size_t{MaxLzwCodes} * 256, 0), stamp_(size_t{MaxLzwCodes} * 256, 0) {}
  uint16_t Find(uint32_t prefix, uint8_t index) const {
    const size_t at = size_t{prefix} * 256 + index;
    return stamp_[at] == generation_ ? code_[at] : 0;
  }
  void Add(uint32_t prefix, uint8_t index, uint16_t code) {
    const size_t at = size_t{prefix} * 256 + index;
    code_[at] = code;
    stamp_[at] = generation_;
  }
  void Forget() { ++generation_; }

 private:
  std::vector<uint16_t> code_;
  std::vector<uint32_t> stamp_;
  uint32_t generation_ = 1;
};

}  // namespace

std::vector<uint8_t> EncodeLzwCodes(const uint8_t* indices, size_t count, int minCodeSize) {
  if (minCodeSize < 2 || minCodeSize > 8) throw std::invalid_argument("GIF code size " + std::to_string(minCodeSize) + " is not 2..8");
  const uint32_t clear = 1u << minCodeSize, endOfInfo = clear + 1;
  for (size_t i = 0; i < count; ++i)
    if (indices[i] >= clear) throw std::invalid_argument("A GIF index does not fit the code size");
  TBitWriter out;
  TLzwDictionary dictionary;
  int width = minCodeSize + 1;
  uint32_t last = endOfInfo;  // the code given to the newest string
  out.Put(clear, width);
  if (count == 0) {
    out.Put(endOfInfo, width);
    return out.Finish();
  }
  uint32_t current = indices[0];
  for (size_t i = 1; i < count; ++i) {
    const uint8_t index = indices[i];
    if (const uint16_t longer = dictionary.Find(current, index)) {
      current = longer;
      continue;
    }
    out.Put(current, width);
    if (last == MaxLzwCodes - 1) {
      // The dictionary is full: this code added nothing, and a Clear starts afresh.
      // (Sent one code after it filled, as giflib's and ImageMagick's coders do, so
      // the last entry is used once more.)
      out.Put(clear, width);
      dictionary.Forget();
      width = minCodeSize + 1;
      last = endOfInfo;
    } else {
      // The decoder adds this same string when it reads the next code, and widens its
      // codes once its dictionary holds 2^width strings.
      dictionary.Add(current, index, static_cast<uint16_t>(++last));
      if (last >= (1u << width) && width < MaxLzwBits) ++width;
    }
    current = index;
  }
  out.Put(current, width);
  // Reading that last code, the decoder widens as if it added one more string.
  if (last + 1 >= (1u << width) && width < MaxLzwBits) ++width;
  out.Put(endOfInfo, width);
  return out.Finish();
}

}  // namespace qz
