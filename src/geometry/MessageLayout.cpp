#include "geometry/MessageLayout.h"

#include <algorithm>
#include <string>
#include <utility>

#include "text/Bidi.h"
#include "text/CodePages.h"
#include "base/FileUtil.h"
#include "base/Numeric.h"
#include "text/Utf8.h"

namespace qz {

namespace {

// What a layout tells the user: which characters came from which fallback face, and
// which no face has. Said once per layout, as a notice.
class TLayoutNotes {
 public:
  void Fallback(const std::string& font, const std::string& face, char32_t u) {
    auto it = std::find_if(fallbacks_.begin(), fallbacks_.end(),
                           [&](const TFallback& f) { return f.Font == font && f.Face == face; });
    if (it == fallbacks_.end()) it = fallbacks_.insert(fallbacks_.end(), {font, face, {}});
    Add(it->Chars, u);
  }
  void Missing(char32_t u) { Add(missing_, u); }

  // One notice, its parts apart by "; " (the status bar shows one line).
  void Tell(IMessageSink& messages) const {
    std::string notice;
    auto add = [&](const std::string& part) { notice += (notice.empty() ? "" : "; ") + part; };
    for (const TFallback& f : fallbacks_) add(f.Font + " has no " + Names(f.Chars) + ": drawn in " + f.Face);
    if (!missing_.empty()) add("No installed font has " + Names(missing_) + ": left blank");
    if (!notice.empty()) messages.ShowNotice(notice);
  }

 private:
  struct TFallback {
    std::string Font;
    std::string Face;
    std::u32string Chars;
  };
  static void Add(std::u32string& chars, char32_t u) {
    if (chars.find(u) == std::u32string::npos) chars += u;
  }
  static std::string Names(const std::u32string& chars) {
    std::string names;
    for (char32_t u : chars) names += (names.empty() ? "" : ", ") + CodePointName(u);
    return names;
  }
  std::vector<TFallback> fallbacks_;
  std::u32string missing_;
};

// The font a character's glyphs are read in: its own, or its own with a fallback face.
TFontRequest FontOf(const TLayoutChar& c, const TCharFace& face) {
  TFontRequest font = c.Font;
  if (face.Kind == TCharFace::Fallback) font.Face = face.Face;
  return font;
}

void NoteFace(TLayoutNotes& notes, const TLayoutChar& c, const TCharFace& face) {
  if (face.Kind == TCharFace::Fallback) notes.Fallback(c.Font.Name, face.Face.Family, c.CodePoint);
  if (face.Kind == TCharFace::None) notes.Missing(c.CodePoint);
}

// Records on the letter just added (if one was) where its glyph came from.
void Tag(TLetters& letters, int countBefore, char32_t u, uint32_t glyph, const TFaceChoice& face) {
  if (letters.Count() == countBefore) return;
  TLetter& letter = letters.Last();
  letter.Code = u;
  letter.Glyph = glyph;
  letter.FontFile = BareFileName(face.File);
}

// The 8-bit rules: one letter per character in message order.
void LayOutByCharacters(const std::vector<TLayoutChar>& chars, TGlyphReader& reader, const TLayoutFonts& fonts,
                        TLayoutNotes& notes) {
  TLetters& letters = reader.Letters();
  for (const TLayoutChar& c : chars) {
    const TCharFace face = fonts.Text.FaceFor(c.Font, c.CodePoint);
    NoteFace(notes, c, face);
    const int before = letters.Count();
    fonts.Select(FontOf(c, face));
    std::optional<TGlyphMetrics> metrics;
    if (face.Kind == TCharFace::None)
      metrics = reader.AddBlank(fonts.Glyphs, c.Which);
    else if (face.Kind == TCharFace::Own && c.Code)
      metrics = reader.ReadCode(fonts.Glyphs, *c.Code, c.Which);  // exactly as a code was always read
    else
      metrics = reader.ReadGlyph(fonts.Glyphs, face.Glyph, c.Which);
    if (metrics) reader.Advance(*metrics);
    Tag(letters, before, c.CodePoint, face.Glyph, face.Face);
  }
}

// A piece of the line: a run of characters shaped together, or one character read
// alone (a blank for a character no face has, a symbol font's code).
struct TItem {
  enum TKind { Run, Code, Blank } Kind;
  size_t Start;
  size_t Length;
  TFontRequest Font;
  bool RightToLeft;
};

std::vector<TItem> Itemize(const std::vector<TLayoutChar>& chars, const std::vector<TCharFace>& faces,
                           const TBidiLine& bidi) {
  std::vector<TItem> items;
  auto alone = [&](size_t i) {
    return faces[i].Kind == TCharFace::None || (chars[i].Font.Charset == SymbolCharset && chars[i].Code);
  };
  for (size_t i = 0; i < chars.size();) {
    const TFontRequest font = FontOf(chars[i], faces[i]);
    const bool rtl = (bidi.Levels[i] & 1) != 0;
    if (alone(i)) {
      items.push_back({faces[i].Kind == TCharFace::None ? TItem::Blank : TItem::Code, i, 1, font, rtl});
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < chars.size() && !alone(end) && bidi.Levels[end] == bidi.Levels[i] &&
           FontOf(chars[end], faces[end]) == font)
      ++end;
    items.push_back({TItem::Run, i, end - i, font, rtl});
    i = end;
  }
  return items;
}

// The items from left to right: a run of one level stands together on the line, so
// the first of its characters met in visual order places it.
std::vector<const TItem*> VisualOrder(const std::vector<TItem>& items, const TBidiLine& bidi) {
  std::vector<int> itemOf;
  for (size_t k = 0; k < items.size(); ++k) itemOf.insert(itemOf.end(), items[k].Length, static_cast<int>(k));
  std::vector<const TItem*> order;
  std::vector<bool> placed(items.size(), false);
  for (int logical : bidi.VisualToLogical) {
    const int k = itemOf[static_cast<size_t>(logical)];
    if (placed[static_cast<size_t>(k)]) continue;
    placed[static_cast<size_t>(k)] = true;
    order.push_back(&items[static_cast<size_t>(k)]);
  }
  return order;
}

// A position in 1/64 pixel to the nearest whole pixel (halves up, as the font engine
// rounds a glyph's advance).
int32_t Pixels(int64_t v) { return Saturate32((v + 32) >> 6); }

// One line laid out with shaping: the items in visual order, the pen (in 1/64 pixel)
// moving left to right over them, with the bevel's room after each character.
class TShapedLine {
 public:
  TShapedLine(const std::vector<TLayoutChar>& chars, TGlyphReader& reader, const TLayoutFonts& fonts,
              TLayoutNotes& notes, int64_t room)
      : chars_(chars), reader_(reader), fonts_(fonts), room_(room) {
    for (const TLayoutChar& c : chars) {
      text_ += c.CodePoint;
      faces_.push_back(fonts.Text.FaceFor(c.Font, c.CodePoint));
      NoteFace(notes, c, faces_.back());
    }
  }

  void LayOut() {
    const TBidiLine bidi = ResolveBidi(text_);
    const std::vector<TItem> items = Itemize(chars_, faces_, bidi);
    for (const TItem* item : VisualOrder(items, bidi)) {
      const size_t i = item->Start;
      if (item->Kind == TItem::Blank)
        ReadAlone(*item, [&] { return reader_.AddBlank(fonts_.Glyphs, chars_[i].Which); });
      else if (item->Kind == TItem::Code)
        ReadAlone(*item, [&] { return reader_.ReadCode(fonts_.Glyphs, *chars_[i].Code, chars_[i].Which); });
      else
        PlaceRun(*item);
    }
    reader_.PenX = Pixels(pen_);
    reader_.PenY = 0;
  }

 private:
  // Reads a glyph alone at the pen and moves the pen on as the 8-bit rules do.
  template <typename TRead>
  void ReadAlone(const TItem& item, TRead read) {
    const size_t i = item.Start;
    fonts_.Select(item.Font);
    reader_.PenX = Pixels(pen_);
    reader_.PenY = 0;
    const int before = reader_.Letters().Count();
    if (const std::optional<TGlyphMetrics> m = read()) pen_ += (int64_t{m->gmCellIncX} << 6) + room_;
    Tag(reader_.Letters(), before, text_[i], faces_[i].Glyph, faces_[i].Face);
  }

  void PlaceRun(const TItem& item) {
    const TShapedRun run = fonts_.Text.Shape(item.Font, text_, item.Start, item.Length, item.RightToLeft);
    if (run.Glyphs.empty()) {
      ReadRunAlone(item);
      return;
    }
    fonts_.Select(item.Font);
    for (size_t k = 0; k < run.Glyphs.size(); ++k) {
      const TShapedGlyph& g = run.Glyphs[k];
      const char32_t u = CharAt(g.Cluster);
      reader_.PenX = Pixels(pen_ + g.XOffset);
      reader_.PenY = Pixels(g.YOffset);
      const int before = reader_.Letters().Count();
      reader_.ReadGlyph(fonts_.Glyphs, g.Glyph, g.Cluster < chars_.size() ? chars_[g.Cluster].Which : std::string());
      Tag(reader_.Letters(), before, u, g.Glyph, item.Font.Face.Found ? item.Font.Face : faces_[item.Start].Face);
      pen_ += g.XAdvance;
      // The bevel's room between characters; a word of a joined script stays whole.
      if (k + 1 < run.Glyphs.size() && run.Glyphs[k + 1].Cluster != g.Cluster) {
        const char32_t next = CharAt(run.Glyphs[k + 1].Cluster);
        if (!run.Joined || u == U' ' || next == U' ') pen_ += room_;
      }
    }
    pen_ += room_;
  }

  // A run its face cannot shape (a size beyond the engine's): its characters are read
  // one by one, in visual order, so the engine's error is shown as for any glyph.
  void ReadRunAlone(const TItem& item) {
    for (size_t k = 0; k < item.Length; ++k) {
      const size_t c = item.RightToLeft ? item.Start + item.Length - 1 - k : item.Start + k;
      ReadAlone({TItem::Run, c, 1, item.Font, item.RightToLeft},
                [&] { return reader_.ReadGlyph(fonts_.Glyphs, faces_[c].Glyph, chars_[c].Which); });
    }
  }

  // The character a cluster starts at (a space past the text).
  char32_t CharAt(uint32_t cluster) const { return cluster < text_.size() ? text_[cluster] : U' '; }

  const std::vector<TLayoutChar>& chars_;
  TGlyphReader& reader_;
  const TLayoutFonts& fonts_;
  const int64_t room_;  // the bevel's room after a character, 1/64 pixel
  std::u32string text_;
  std::vector<TCharFace> faces_;
  int64_t pen_ = 0;
};

}  // namespace

void LayOutMessage(const std::vector<TLayoutChar>& chars, bool shaping, TGlyphReader& reader,
                   const TLayoutFonts& fonts, IMessageSink& messages) {
  TLayoutNotes notes;
  if (shaping)
    TShapedLine(chars, reader, fonts, notes, 2 * int64_t{reader.TxtW()} * 64).LayOut();
  else
    LayOutByCharacters(chars, reader, fonts, notes);
  notes.Tell(messages);
}

}  // namespace qz
