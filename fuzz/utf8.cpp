// Fuzz target: the message of quenzar-cli's --text, read as strict UTF-8, then typed
// into a message as --text puts it there.
//
// Whatever the bytes: valid UTF-8 decodes to code points that encode back to the same
// bytes; invalid UTF-8 is refused at a byte offset within the input, and everything
// before that offset is valid and decodes to what was reported. The message made from
// the text holds every character, each one that its charset's code page lacks as its
// code point.
#include <cstdint>
#include <string>

#include "FuzzKit.h"
#include "text/CodePages.h"
#include "text/Utf8.h"
#include "scene/MessageText.h"
#include "scene/WorkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qz;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TUtf8Result r = DecodeUtf8(bytes);
  if (!r.Error) {
    if (ToUtf8(r.Text) != bytes) fuzz::Broken("valid UTF-8 does not encode back to its bytes");
  } else {
    if (r.Error->Offset >= size || r.Error->Reason.empty()) fuzz::Broken("a refusal outside the input or without why");
    const TUtf8Result before = DecodeUtf8(bytes.substr(0, r.Error->Offset));
    if (before.Error || before.Text != r.Text) fuzz::Broken("the text before the fault does not decode alone");
  }

  TMessageText message;
  ReplaceMessage(message, r.Text);
  if (message.CodePoints() != r.Text) fuzz::Broken("the message does not hold the text it was given");
  for (const TMessageText::TChar& c : message.Chars())
    if ((c.Wide != 0) == UnicodeToCode(c.Wide, CharsetByte(c.Format.Charset)).has_value())
      fuzz::Broken("a character held by its code point although its code page has it, or the reverse");
  return 0;
}
