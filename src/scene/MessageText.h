// TMessageText: the message of a button, an 8-bit character string in which every
// character carries its own font (face, size in points, character set, bold, italic,
// underline). Everything the build and the file operations read goes through the
// selection, as with a rich-text control:
//
//   TMessageText t;                       // default format "Arial", 18, charset 1
//   t.Append("Go", fmt);                  // what a file load does
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
    uint8_t Code = ' ';
    TCharFormat Format;
    bool operator==(const TChar&) const = default;
  };

  const std::string& Text() const { return text_; }
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
  // Appends with the given format (a file load); not limited to MaxTyped.
  void Append(const std::string& text, const TCharFormat& format);
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

}  // namespace qz
