// TMessageText: the message of a button, a string of characters each carrying its
// own font (face, size in points, character set, bold, italic, underline). A
// character is an 8-bit code of its charset's code page, as in a work file, or, when
// that code page does not hold it, its Unicode code point (any plane). Everything the
// build and the file operations read goes through the selection, as with a
// rich-text control:
//
//   TMessageText t;                       // default format "Arial", 18, charset 1
//   t.Append("Go", fmt);                  // what a file load does
//   t.ReplaceSelection(U"\u65E5");         // typed: 日 is in no code page
//   t.SetSelection(0, 1);                 // the first character alone
//   TCharFormat f = t.SelFormat();        // its attributes
//   t.SetSelBold(true);                   // restyles exactly the selection
//
// The designer's message edit converts to and from this (the Qt adapter); the core
// never sees the widget.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

struct TCharFormat {
  std::string Name = "Arial";  // face name
  int32_t Size = 18;           // points
  int32_t Charset = 1;         // Windows character set, 0..255 (1: the default charset)
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool operator==(const TCharFormat&) const = default;
};

class TMessageText {
 public:
  // What typing and inserting may reach; text appended by a file load is not cut.
  static constexpr int MaxTyped = 32;

  struct TChar {
    uint8_t Code = ' ';  // the character in its charset's code page; '?' when Wide holds it
    char32_t Wide = 0;   // a character the charset's code page does not hold; 0: none
    TCharFormat Format;
    bool operator==(const TChar&) const = default;
    // The character in Unicode: Wide, or Code through its charset's code page.
    char32_t CodePoint() const;
  };

  // The character u in format's charset: its code there, or, when the code page does
  // not hold it, u itself.
  static TChar MakeChar(char32_t u, const TCharFormat& format);

  // The 8-bit codes, a character outside its code page as '?'.
  const std::string& Text() const { return text_; }
  // Every character in Unicode.
  std::u32string CodePoints() const;
  int Length() const { return static_cast<int>(chars_.size()); }
  const TChar& At(int index0) const { return chars_[index0]; }
  const std::vector<TChar>& Chars() const { return chars_; }

  // Selection: start 0 is before the first character. Both are clipped to the text.
  void SetSelection(int start, int length);
  void SetSelStart(int start) { SetSelection(start, 0); }
  void SetSelLength(int length) { SetSelection(selStart_, length); }
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }

  // The selection's attributes: those of its first character; with nothing selected,
  // the format that typing at the caret would get.
  TCharFormat SelFormat() const;
  void SetSelFormat(const TCharFormat& format);
  void SetSelName(const std::string& name);
  void SetSelSize(int32_t size);
  void SetSelCharset(int32_t charset);
  void SetSelBold(bool on);
  void SetSelItalic(bool on);
  void SetSelUnderline(bool on);

  // Replaces the selection by text in the selection's format; the caret ends after
  // it. What would take the message beyond MaxTyped characters is not inserted.
  void ReplaceSelection(const std::string& text);
  // The same with Unicode text typed or pasted: each character as TypedChar puts it.
  void ReplaceSelection(std::u32string_view text);
  // Appends with the given format (a file load); not limited to MaxTyped.
  void Append(const std::string& text, const TCharFormat& format);
  void Append(const TChar& c);
  void Clear();

  const TCharFormat& DefaultFormat() const { return default_; }
  void SetDefaultFormat(const TCharFormat& format) { default_ = format; }

  // Copies the selected characters with their formats into dest, replacing dest's
  // selection (the designer moves text between the main window and the text dialog
  // this way, leaving the user's clipboard alone).
  void CopySelectionTo(TMessageText& dest) const;

  // Called whenever the selection or the text changes.
  std::function<void()> OnSelectionChange;

 private:
  void Changed();
  template <typename F>
  void ForSelection(F apply);
  void Insert(const std::vector<TChar>& chars);

  std::vector<TChar> chars_;
  std::string text_;
  int selStart_ = 0;
  int selLength_ = 0;
  TCharFormat default_;
  TCharFormat typing_;        // format for typing at the caret when nothing is selected
  bool typingSet_ = false;    // typing_ was set explicitly at this caret
};

// The characters of text other than the blank (a heading of blanks only has none).
int CountNonBlank(const std::string& text);

// The character u as typing puts it into text of the given format: in the format's
// charset when its code page holds u, else in the first charset whose code page does
// (CharsetHolding; format takes that charset, so typing goes on in it), else as its
// code point in the format's charset.
TMessageText::TChar TypedChar(char32_t u, TCharFormat& format);

}  // namespace qz
