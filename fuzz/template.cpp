// Fuzz target: the preview page template (html/preview.tml) filled from Buttons.dat.
// The input is the template, a zero byte, then the values file.
//
// Whatever the bytes, the expansion ends without a crash or a hang; a template
// without placeholders comes out as it went in; no value reaches the page with a
// markup character unescaped; and the parts the program writes (`@Button` and the
// others) put markup only around values that are themselves escaped.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzKit.h"
#include "export/PreviewPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string templ = input.substr(0, cut);
  const std::string values = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  const std::string page = qz::ExpandTemplateText(templ, values);
  if (templ.find('`') == std::string::npos && page != templ)
    qz::fuzz::Broken("a template without placeholders changed", templ, page);
  // Markup in the page comes from the template and the program, never from a value:
  // the same values with every markup character made harmless give as much of it.
  std::string harmless = values;
  for (char& c : harmless)
    if (c == '<' || c == '>' || c == '"' || c == '\'') c = 'x';
  const std::string reference = qz::ExpandTemplateText(templ, harmless);
  for (char c : {'<', '>', '"', '\''}) {
    const auto count = [c](const std::string& s) { return std::count(s.begin(), s.end(), c); };
    if (count(page) != count(reference)) qz::fuzz::Broken(std::string("a value put a raw ") + c + " into the page");
  }
  return 0;
}
