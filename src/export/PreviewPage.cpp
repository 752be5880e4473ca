#include "export/PreviewPage.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "base/FileUtil.h"
#include "base/OutputFiles.h"
#include "base/IniFile.h"
#include "base/Numeric.h"
#include "base/NumberText.h"
#include "text/Utf8.h"
#include "scene/MessageText.h"
#include "scene/Settings.h"

namespace qz {

namespace {

// The template and Buttons.dat are small files of ours; this bounds a hostile one.
constexpr size_t MaxTemplateBytes = 4u << 20;
// Every placeholder of a hostile template could name the longest value: the page is
// refused beyond this size rather than grown until memory runs out.
constexpr size_t MaxPageBytes = 64u << 20;

std::string HtmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

// Names compare without regard to case (ASCII letters; the keys are ours).
std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The values by name: for each name (lower case, compared without regard to case),
// the text after the first "=" of the first line whose part before it is that name.
// Built once, so a template of many placeholders over a long values file takes time
// in proportion to their sizes, not to their product.
std::unordered_map<std::string, std::string> ValueIndex(const std::string& text) {
  std::unordered_map<std::string, std::string> index;
  for (const std::string& line : Lines(text)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    // A value is cut where the INI reader cuts it.
    index.try_emplace(LowerAscii(line.substr(0, eq)), line.substr(eq + 1, TIniFile::MaxValueLength));
  }
  return index;
}

// The value of name; empty when no line gives it.
std::string LookUp(const std::unordered_map<std::string, std::string>& index, const std::string& name) {
  const auto it = index.find(LowerAscii(name));
  return it == index.end() ? std::string() : it->second;
}

// Bytes of a file URL's path that stand for themselves; every other byte (blanks,
// "#", "?", "%", letters of other scripts) is written as %XX.
bool UrlSafe(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

std::string FileUrl(const std::string& path) {
  static const char* const hex = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    if (UrlSafe(c)) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
  return url;
}

// What the HTML of an exported button is made from: its picture's name, where the
// pictures are (empty: bare names, as the snippet to copy has them; else the folder
// whose file URLs the preview page uses), its size, text and link, and what else the
// export wrote (a high-density picture, the hover and pressed ones).
struct TButtonHtml {
  std::string folder;
  std::string file;
  std::string width, height, alt, link;
  int scale = 1;
  bool states = false;
  std::string extra;  // more attributes of the button's picture (" border=\"0\"")
};

std::string Src(const TButtonHtml& b, TButtonState state, int scale) {
  const std::string name = StatePicturePath(b.file, state, scale);
  return b.folder.empty() ? name : FileUrl(b.folder + name);
}

// One picture of the button: with its high-density one in srcset when there is one.
std::string ImgTag(const TButtonHtml& b, TButtonState state, const std::string& attributes) {
  std::string img = "<img" + attributes + " src=\"" + HtmlEscape(Src(b, state, 1)) + "\" width=\"" +
                    HtmlEscape(b.width) + "\" height=\"" + HtmlEscape(b.height) + "\" alt=\"" +
                    (state == TButtonState::Normal ? HtmlEscape(b.alt) : std::string()) + "\"";
  if (b.scale > 1)
    img += " srcset=\"" + HtmlEscape(Src(b, state, 1)) + " 1x, " + HtmlEscape(Src(b, state, b.scale)) + " " +
           std::to_string(b.scale) + "x\"";
  return img + b.extra + ">";
}

// A class name for the button's style from its picture's name: letters, digits, "-"
// and "_" of it, anything else a "-".
std::string StyleClass(const std::string& file) {
  std::string name = "qz-";
  for (char c : file.substr(0, file.find_last_of('.'))) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    name += keep ? c : '-';
  }
  return name;
}

// The button: its picture in its link (none when the address is empty). With states,
// the three pictures are stacked in the link and a style shows the hover picture
// while the pointer is over it and the pressed one while it is pressed: CSS alone.
std::string ButtonMarkup(const TButtonHtml& b) {
  if (!b.states) {
    const std::string img = ImgTag(b, TButtonState::Normal, "");
    return b.link.empty() ? img : "<a href=\"" + HtmlEscape(b.link) + "\">" + img + "</a>";
  }
  const std::string c = StyleClass(b.file);
  const std::string style = "<style>\n"
                            "." + c + " { display: inline-block; position: relative; line-height: 0; }\n"
                            "." + c + " img + img { position: absolute; left: 0; top: 0; visibility: hidden; }\n"
                            "." + c + ":hover .qz-hover, ." + c + ":focus .qz-hover { visibility: visible; }\n"
                            "." + c + ":active .qz-pressed { visibility: visible; }\n"
                            "</style>\n";
  const std::string pictures = ImgTag(b, TButtonState::Normal, "") +
                               ImgTag(b, TButtonState::Hover, " class=\"qz-hover\"") +
                               ImgTag(b, TButtonState::Pressed, " class=\"qz-pressed\"");
  if (b.link.empty()) return style + "<span class=\"" + c + "\">" + pictures + "</span>";
  return style + "<a class=\"" + c + "\" href=\"" + HtmlEscape(b.link) + "\">" + pictures + "</a>";
}

std::string FactRow(const std::string& name, const std::string& value) {
  return "<tr><th>" + name + "</th><td>" + HtmlEscape(value) + "</td></tr>";
}

// The three pictures side by side on the page's colour, each with its caption.
std::string StateSamples(const TButtonHtml& b, const std::string& background) {
  std::string out;
  const std::pair<TButtonState, const char*> states[] = {
      {TButtonState::Normal, "Normal"}, {TButtonState::Hover, "Hover"}, {TButtonState::Pressed, "Pressed"}};
  for (const auto& [state, caption] : states)
    out += "<div class=\"sample\"><div class=\"stage\" style=\"background: " + HtmlEscape(background) + "\">" +
           ImgTag(b, state, "") + "</div><div class=\"caption\">" + caption + "</div></div>\n";
  return out;
}

// Parts of the page the program writes itself from the values, named `@Name` in the
// template. They are markup, so they cannot come from the values file (whose values
// are always escaped): the button in its link, the picture's file URL, the HTML to
// copy (shown as text), the rows of facts that apply to the picture's format, and the
// hover and pressed pictures beside the button when the export made them.
std::string Fragment(const std::unordered_map<std::string, std::string>& values, const std::string& name) {
  TButtonHtml b;
  b.folder = LookUp(values, "ImageFilePath");
  b.file = LookUp(values, "ImageFileName");
  b.width = LookUp(values, "ImageWidth");
  b.height = LookUp(values, "ImageHeight");
  b.alt = LookUp(values, "ButtonText");
  b.link = LookUp(values, "TargetURL");
  const std::string scale = LookUp(values, "ImageScale");
  b.scale = scale == "2" || scale == "3" ? scale[0] - '0' : 1;
  b.states = LookUp(values, "ImageStates") == "1";
  const std::string key = LowerAscii(name);
  if (key == "imageurl") return HtmlEscape(FileUrl(b.folder + b.file));
  if (key == "button") return ButtonMarkup(b);
  if (key == "states") return b.states ? StateSamples(b, LookUp(values, "BgColor")) : std::string();
  if (key == "snippet") {
    b.folder.clear();
    b.extra = " border=\"0\"";
    return HtmlEscape(ButtonMarkup(b));
  }
  if (key != "facts") return {};
  std::string rows = FactRow("File", b.folder + b.file) +
                     FactRow("Size", b.width + " x " + b.height + " pixels, " + LookUp(values, "ImageFileSize") + " KB");
  const bool gif = b.file.size() >= 4 && LowerAscii(b.file.substr(b.file.size() - 4)) == ".gif";
  if (gif)
    rows += FactRow("GIF colours", LookUp(values, "NumberOfColors")) +
            FactRow("GIF dithering", LookUp(values, "ImageDiffusion"));
  if (b.scale > 1)
    rows += FactRow("High density", StatePicturePath(b.file, TButtonState::Normal, b.scale) + ", " +
                                        std::to_string(b.scale) + " times the size");
  if (b.states)
    rows += FactRow("States", StatePicturePath(b.file, TButtonState::Hover, 1) + ", " +
                                  StatePicturePath(b.file, TButtonState::Pressed, 1) + ", and the HTML in " +
                                  StatesSnippetPath(b.file));
  return rows + FactRow("Link", b.link.empty() ? "(none)" : b.link);
}

std::string ReadText(const std::string& path) {
  auto bytes = ReadWholeFile(path, MaxTemplateBytes);
  if (!bytes) throw std::runtime_error("Cannot read file " + path);
  return std::string(bytes->begin(), bytes->end());
}

// The exported file is a path of this system: "/" alone separates its folders (a
// backslash is part of a name here).
std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The folder of the exported file; "./" for a bare name.
std::string FolderOrHere(const std::string& path) {
  const std::string folder = FolderOf(path);
  return folder.empty() ? std::string("./") : folder;
}

}  // namespace

std::string KilobyteText(uint64_t bytes) {
  const int32_t tenths = RoundHalfEven(static_cast<long double>(bytes) * 10 / 1024);
  return tenths % 10 == 0 ? IntToText(tenths / 10) : IntToText(tenths / 10) + "." + IntToText(tenths % 10);
}

std::string HtmlColor(TColor color) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", ColorRed(color), ColorGreen(color), ColorBlue(color));
  return buf;
}

std::string WritePreviewData(const std::string& settingsFile, const TExportFacts& facts, TFileGroup& files) {
  TIniFile ini(settingsFile);
  if (!ini.ReadError().empty()) throw std::runtime_error(ini.ReadError());
  const char* g = "General";
  ini.WriteString(g, "ImageFileName", NameOf(facts.filePath));
  ini.WriteString(g, "ImageFilePath", FolderOrHere(facts.filePath));
  ini.WriteString(g, "ImageWidth", IntToText(facts.width));
  ini.WriteString(g, "ImageHeight", IntToText(facts.height));
  ini.WriteString(g, "ImageDiffusion", facts.diffusion);
  ini.WriteString(g, "ImageFileSize", KilobyteText(facts.fileBytes));
  ini.WriteString(g, "BgColor", HtmlColor(facts.background));
  ini.WriteString(g, "TargetURL", facts.targetUrl);
  ini.WriteString(g, "NumberOfColors", facts.numberOfColors);
  ini.WriteString(g, "ButtonText", facts.buttonText);
  // Only an export that made them names its other pictures: a plain export leaves the
  // file as it always was.
  if (facts.scale > 1)
    ini.WriteString(g, "ImageScale", IntToText(facts.scale));
  else
    ini.EraseKey(g, "ImageScale");
  if (facts.states)
    ini.WriteString(g, "ImageStates", "1");
  else
    ini.EraseKey(g, "ImageStates");
  const std::string text = ini.Text();
  WriteOutputBytes(&files, settingsFile, text.data(), text.size());
  return text;
}

std::string ExpandTemplateText(const std::string& templateText, const std::string& valuesText) {
  const auto values = ValueIndex(valuesText);
  std::string out, name;
  bool inside = false;
  for (char c : templateText) {
    if (c == '`') {
      inside = !inside;
      if (inside)
        name.clear();
      else if (!name.empty() && name[0] == '@')
        out += Fragment(values, name.substr(1));
      else
        out += HtmlEscape(LookUp(values, name));
      if (out.size() > MaxPageBytes)
        throw std::runtime_error("The preview page would be larger than " + IntToText(MaxPageBytes >> 20) + " MB");
    } else if (inside) {
      name += c;
    } else {
      out += c;
    }
  }
  // A grave accent without its partner discards everything after it.
  return out;
}

void ExpandTemplate(const std::string& templateFile, const std::string& valuesText, const std::string& pageFile,
                    TFileGroup& files) {
  const std::string page = ExpandTemplateText(ReadText(templateFile), valuesText);
  std::string crlf;
  for (const std::string& line : Lines(page)) crlf += line + "\r\n";
  if (!page.empty() && page.back() == '\n') crlf.resize(crlf.size() - 2);  // no extra empty line
  ForceDirectories(FolderOf(pageFile));
  WriteOutputBytes(&files, pageFile, crlf.data(), crlf.size());
}

std::string MessageToUtf8(const TMessageText& message, int maxChars) {
  // A charset beyond a byte (from a damaged work) is none of the named ones: its
  // codes read through code page 1252, as every unnamed charset's do.
  std::u32string chars = message.CodePoints();
  if (maxChars < static_cast<int>(chars.size())) chars.resize(static_cast<size_t>(std::max(maxChars, 0)));
  return ToUtf8(chars);
}

TExportFacts MakeExportFacts(const std::string& imagePath, int32_t width, int32_t height,
                             const TExportOptions& options, uint64_t fileBytes, TColor background,
                             const std::string& targetUrl, const TMessageText& message, int builtChars) {
  TExportFacts facts;
  facts.filePath = imagePath;
  facts.width = width;
  facts.height = height;
  facts.diffusion = options.Diffusion;
  facts.fileBytes = fileBytes;
  facts.background = background;
  facts.targetUrl = targetUrl;
  facts.numberOfColors = options.NumberOfColors;
  facts.buttonText = MessageToUtf8(message, builtChars);
  facts.scale = options.Scale;
  facts.states = options.States;
  return facts;
}

std::string StatesSnippet(const TExportFacts& facts) {
  TButtonHtml b;
  b.file = NameOf(facts.filePath);
  b.width = IntToText(facts.width);
  b.height = IntToText(facts.height);
  b.alt = facts.buttonText;
  b.link = facts.targetUrl;
  b.scale = facts.scale;
  b.states = true;
  b.extra = " border=\"0\"";
  return "<!-- " + HtmlEscape(b.file) +
         " with its hover and pressed pictures: the style goes into the page's head, the link where the button "
         "goes. -->\n" +
         ButtonMarkup(b) + "\n";
}

void WritePreviewPage(const TFolders& folders, const TExportFacts& facts, TFileGroup& files) {
  ForceDirectories(folders.SettingsDir);
  ExpandTemplate(folders.PageTemplate(), WritePreviewData(folders.SettingsFile(), facts, files), folders.PreviewPage(),
                 files);
}

}  // namespace qz
