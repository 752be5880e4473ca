#include "scene/WorkFile.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

#include "base/NumberText.h"
#include "text/Utf8.h"

namespace qz {

namespace {

// One key of the work file and the design field it stores. Colours and integers
// share one form; booleans are written 1/0 and read as any non-zero integer.
using TField = std::variant<int32_t*, float*, bool*, std::string*>;
struct TKey {
  const char* section;
  const char* key;
  TField (*field)(TParams&);
};

#define QZ_KEY(section, key, expr) {section, key, [](TParams& p) -> TField { return &p.expr; }}

// The keys after General.Version/FileID/ExpWidth/ExpHeight and Message.NLetters,
// in the order they are written.
const TKey DesignKeys[] = {
    QZ_KEY("Message", "SplPnt", SplPnt),
    QZ_KEY("Message", "TxtW", TxtW),
    QZ_KEY("Message", "TxtY", TxtY),
    QZ_KEY("Message", "TexW", Message.TexW),
    QZ_KEY("Message", "TexH", Message.TexH),
    QZ_KEY("Message", "HoldRatio", Message.HoldRatio),
    QZ_KEY("Message", "TexFile", Message.TexFile),
    QZ_KEY("Message", "GutLeft", GutLeft),
    QZ_KEY("Message", "GutRight", GutRight),
    QZ_KEY("Message", "GutTop", GutTop),
    QZ_KEY("Message", "GutBottom", GutBottom),
    QZ_KEY("Message", "DColor", Message.DColor),
    QZ_KEY("Message", "BColor", Message.BColor),
    QZ_KEY("Message", "MColor", Message.MColor),
    QZ_KEY("Message", "ColSplit", Message.ColSplit),
    QZ_KEY("Message", "Altitude", Message.Altitude),
    QZ_KEY("Button", "Type", Type),
    QZ_KEY("Button", "ButW", ButW),
    QZ_KEY("Button", "ButY", ButY),
    QZ_KEY("Button", "TexW", Button.TexW),
    QZ_KEY("Button", "TexH", Button.TexH),
    QZ_KEY("Button", "HoldRatio", Button.HoldRatio),
    QZ_KEY("Button", "TexFile", Button.TexFile),
    QZ_KEY("Button", "BkgColor", BkgColor),
    QZ_KEY("Button", "DColor", Button.DColor),
    QZ_KEY("Button", "BColor", Button.BColor),
    QZ_KEY("Button", "MColor", Button.MColor),
    QZ_KEY("Button", "ColSplit", Button.ColSplit),
    QZ_KEY("Button", "Altitude", Button.Altitude),
    QZ_KEY("Button", "HoldButtonSize", HoldButtonSize),
    QZ_KEY("Button", "ButTop", ButTop),
    QZ_KEY("Button", "ButLeft", ButLeft),
    QZ_KEY("Button", "ButRight", ButRight),
    QZ_KEY("Button", "ButBottom", ButBottom),
    QZ_KEY("Button", "ShapeName", ShapeName),
    QZ_KEY("Render", "Distance", Distance),
    QZ_KEY("Render", "Bright", Bright),
    QZ_KEY("Render", "Brightness", Brightness),
    QZ_KEY("Render", "Contrast", Contrast),
    QZ_KEY("Render", "ShadType", ShadType),
    QZ_KEY("Render", "RDelay", RDelay),
    QZ_KEY("Render", "ViewSize", ViewSize),
    QZ_KEY("Render", "X", Render.X),
    QZ_KEY("Render", "Y", Render.Y),
    QZ_KEY("Render", "Z", Render.Z),
    QZ_KEY("Render", "Ax", Ax),
    QZ_KEY("Render", "Ay", Ay),
    QZ_KEY("Render", "Az", Az),
    QZ_KEY("Render", "CnX", CnX),
    QZ_KEY("Render", "CnZ", CnZ),
    QZ_KEY("Light", "X", Light.X),
    QZ_KEY("Light", "Y", Light.Y),
    QZ_KEY("Light", "Z", Light.Z),
    QZ_KEY("Light", "A", Light.A),
    QZ_KEY("Light", "a1", A1),
    QZ_KEY("Light", "a2", A2),
    QZ_KEY("Light", "LoBright", LoBright),
    QZ_KEY("Light", "HiBright", HiBright),
    QZ_KEY("Light", "Color", Light.Color),
    QZ_KEY("States", "HoverBrightening", States.HoverBrightening),
    QZ_KEY("States", "PressedAltitude", States.PressedAltitude),
};

#undef QZ_KEY

std::string FieldToText(const TField& f) {
  struct {
    std::string operator()(int32_t* v) const { return IntToText(*v); }
    std::string operator()(float* v) const { return FloatToText(*v); }
    std::string operator()(bool* v) const { return *v ? "1" : "0"; }
    std::string operator()(std::string* v) const { return *v; }
  } visitor;
  return std::visit(visitor, f);
}

// A value that does not parse leaves the field as it was.
void TextToField(const std::string& text, const TField& f) {
  struct {
    const std::string& text;
    void operator()(int32_t* v) const {
      if (auto n = TextToInt(text)) *v = *n;
    }
    void operator()(float* v) const {
      if (auto x = TextToFloat(text)) *v = *x;
    }
    void operator()(bool* v) const {
      if (auto n = TextToInt(text)) *v = *n != 0;
    }
    void operator()(std::string* v) const { *v = text; }
  } visitor{text};
  std::visit(visitor, f);
}

std::string LetterSection(int i) { return "Letter " + IntToText(i); }

// The character a letter section's Code key names (U+XXXX), when it names one the
// message can hold: not a control character.
std::optional<char32_t> LetterCode(const TIniFile& ini, const std::string& section) {
  const std::optional<char32_t> u = ParseCodePointName(ini.ReadString(section, "Code", ""));
  if (!u || *u < 0x20 || (*u >= 0x7F && *u < 0xA0)) return std::nullopt;
  return u;
}

int32_t ReadInt(const TIniFile& ini, const char* section, const std::string& key, int32_t def) {
  return TextToInt(ini.ReadString(section, key, "")).value_or(def);
}

}  // namespace

void SaveDesignToIni(const TParams& params, const TMessageText& text, TIniFile& ini) {
  // The table hands out writable fields; saving only reads them.
  TParams& p = const_cast<TParams&>(params);
  const int n = text.Length();
  ini.WriteString("General", "Version", WorkFileVersion);
  ini.WriteString("General", "FileID", "$010300FF");
  ini.WriteString("General", "ExpWidth", IntToText(p.ExpWidth));
  ini.WriteString("General", "ExpHeight", IntToText(p.ExpHeight));
  ini.WriteString("Message", "NLetters", IntToText(n));
  for (const TKey& k : DesignKeys) ini.WriteString(k.section, k.key, FieldToText(k.field(p)));
  // Written only when on, so a design laid out by the 8-bit rules saves as it always
  // did; an older loader ignores the key.
  if (p.Shaping)
    ini.WriteString("Message", "Shaping", "1");
  else
    ini.EraseKey("Message", "Shaping");

  // One section per character, with its own format.
  for (int i = 1; i <= n; ++i) {
    const TMessageText::TChar& c = text.At(i - 1);
    const TCharFormat& f = c.Format;
    const std::string section = LetterSection(i);
    ini.WriteString(section, "Char", std::string(1, static_cast<char>(c.Code)));
    ini.WriteString(section, "Name", f.Name);
    ini.WriteString(section, "Size", IntToText(f.Size));
    ini.WriteString(section, "Charset", IntToText(f.Charset));
    ini.WriteString(section, "Bold", f.Bold ? "1" : "0");
    ini.WriteString(section, "Italic", f.Italic ? "1" : "0");
    ini.WriteString(section, "Underline", f.Underline ? "1" : "0");
    // A character no code page of its charset holds: Char is "?" for an older reader,
    // Code names it. A letter that no longer needs the key loses it, or it would win
    // on the next load.
    if (c.Wide != 0)
      ini.WriteString(section, "Code", CodePointName(c.Wide));
    else
      ini.EraseKey(section, "Code");
  }
}

bool LoadDesignFromIni(TParams& params, TMessageText& text, const TIniFile& ini, IMessageSink& messages) {
  const std::string version = ini.ReadString("General", "Version", "");
  if (version != WorkFileVersion) {
    messages.ShowMessage("Invalid file version: " + version);
    return false;
  }
  // A work that does not store its export size has none (0): the size is fitted to
  // its picture, never taken from the design shown before.
  params.ExpWidth = ReadInt(ini, "General", "ExpWidth", 0);
  params.ExpHeight = ReadInt(ini, "General", "ExpHeight", 0);
  const int32_t letters = std::clamp(ReadInt(ini, "Message", "NLetters", 0), 0, MaxLoadedLetters);
  // Every other key a work lacks keeps what the design had; the states are newer than
  // most works, which get the defaults rather than the last design's.
  params.States = TStateParams{};
  for (const TKey& k : DesignKeys) {
    if (ini.HasKey(k.section, k.key)) TextToField(ini.ReadString(k.section, k.key, ""), k.field(params));
  }
  // Missing or 0 (or not a number): the 8-bit layout, whatever the design before had.
  params.Shaping = ReadInt(ini, "Message", "Shaping", 0) != 0;

  text.Clear();
  const TCharFormat def = text.DefaultFormat();
  for (int i = 1; i <= letters; ++i) {
    const std::string section = LetterSection(i);
    TCharFormat f;
    f.Name = ini.ReadString(section, "Name", def.Name);
    f.Size = ReadInt(ini, section.c_str(), "Size", def.Size);
    f.Charset = ReadInt(ini, section.c_str(), "Charset", def.Charset);
    f.Bold = ReadInt(ini, section.c_str(), "Bold", def.Bold) != 0;
    f.Italic = ReadInt(ini, section.c_str(), "Italic", def.Italic) != 0;
    f.Underline = ReadInt(ini, section.c_str(), "Underline", def.Underline) != 0;
    // A Code key wins over Char: it names a character Char could only show as "?".
    if (const std::optional<char32_t> u = LetterCode(ini, section)) {
      text.Append(TMessageText::MakeChar(*u, f));
      continue;
    }
    // A blank is written as a one-blank value, which reads back empty. A letter
    // section holds one character; anything a careless hand added after it is
    // not taken, so the message stays one character per section.
    std::string ch = ini.ReadString(section, "Char", "");
    text.Append(ch.empty() ? std::string(" ") : ch.substr(0, 1), f);
  }
  return true;
}

void ReplaceMessage(TMessageText& message, std::u32string_view text) {
  TCharFormat format = message.Length() > 0 ? message.At(0).Format : message.DefaultFormat();
  message.Clear();
  for (char32_t u : text) message.Append(TypedChar(u, format));
}

void SaveWorkFile(const std::string& fileName, const TParams& params, const TMessageText& text) {
  TIniFile ini(fileName);
  // A file that exists but could not be read is not overwritten with a work that
  // would lose whatever else it held.
  if (!ini.ReadError().empty()) throw std::runtime_error(ini.ReadError());
  SaveDesignToIni(params, text, ini);
  ini.Flush();
}

bool LoadWorkFile(const std::string& fileName, TParams& params, TMessageText& text, IMessageSink& messages) {
  TIniFile ini(fileName);
  // A file that is not there, or cannot be read (no rights, a folder, a device or pipe,
  // larger than the INI bound), is refused saying why, before any talk of versions.
  if (!ini.ReadFailure().empty()) {
    messages.ShowMessage("Cannot open the work " + fileName + ": " + ini.ReadFailure());
    return false;
  }
  return LoadDesignFromIni(params, text, ini, messages);
}

}  // namespace qz
