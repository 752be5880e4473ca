#include "scene/MessageText.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TCharFormat Font(const std::string& name, int size) {
  TCharFormat f;
  f.Name = name;
  f.Size = size;
  return f;
}

TEST(MessageText, RestylingASelectionChangesExactlyThoseCharacters) {
  TMessageText t;
  t.Append("abcdef", Font("Arial", 18));
  t.Append(" ", Font("Symbol", 40));  // a blank is a character with its own font
  t.SetSelection(1, 3);
  t.SetSelBold(true);
  t.SetSelName("Courier New");
  for (int i = 0; i < 6; ++i) {
    const bool inside = i >= 1 && i <= 3;
    EXPECT_EQ(t.At(i).Format.Bold, inside) << i;
    EXPECT_EQ(t.At(i).Format.Name, inside ? "Courier New" : "Arial") << i;
  }
  EXPECT_EQ(t.At(6).Format.Size, 40);
  t.SetSelection(2, 1);
  EXPECT_EQ(t.SelFormat().Name, "Courier New");
}

TEST(MessageText, TypingIsLimitedAndTakesTheFormatAtTheCaret) {
  TMessageText t;
  int calls = 0;
  t.OnSelectionChange = [&] { ++calls; };
  EXPECT_EQ(t.SelFormat(), t.DefaultFormat());
  t.Append("ab", Font("Times New Roman", 24));
  t.SetSelection(1, 99);  // clipped to the text
  EXPECT_EQ(t.SelLength(), 1);
  t.SetSelection(-5, 1);
  EXPECT_EQ(t.SelStart(), 0);
  EXPECT_GE(calls, 2);
  t.SetSelStart(2);
  t.ReplaceSelection(std::string(40, 'x'));  // only 30 more fit
  EXPECT_EQ(t.Length(), 32);
  EXPECT_EQ(t.At(31).Format.Name, "Times New Roman");
  EXPECT_EQ(t.SelStart(), 32);
  t.SetSelection(0, 32);
  t.ReplaceSelection("Hi");
  EXPECT_EQ(t.Text(), "Hi");
  // A style set with nothing selected applies to what is typed next.
  t.SetSelStart(2);
  t.SetSelItalic(true);
  t.ReplaceSelection("!");
  EXPECT_TRUE(t.At(2).Format.Italic);
  EXPECT_FALSE(t.At(1).Format.Italic);
  // A loaded message may be longer than typing allows; typing adds nothing to it.
  TMessageText loaded;
  loaded.Append(std::string(40, 'y'), loaded.DefaultFormat());
  loaded.SetSelStart(40);
  loaded.ReplaceSelection("z");
  EXPECT_EQ(loaded.Length(), 40);
}

TEST(MessageText, CopySelectionCarriesFormatsAndLeavesTheRestAlone) {
  TMessageText a, b;
  a.Append("xy", Font("Arial", 10));
  a.Append("z", Font("Courier New", 30));
  b.Append("12", Font("Arial", 18));
  a.SetSelection(1, 2);
  b.SetSelection(1, 0);
  a.CopySelectionTo(b);
  EXPECT_EQ(b.Text(), "1yz2");
  EXPECT_EQ(b.At(2).Format, Font("Courier New", 30));
  EXPECT_EQ(b.At(3).Format.Size, 18);
  EXPECT_EQ(a.Text(), "xyz");
}

}  // namespace
}  // namespace qz
