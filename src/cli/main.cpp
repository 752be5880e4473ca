// quenzar-cli: the designer's work without its window.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "cli/Cli.h"
#include "scene/WorkFile.h"

namespace {

const char* const UsageText =
    "usage:\n"
    "  quenzar-cli export WORK OUT.gif|OUT.jpg|OUT.jpeg|OUT.bmp|OUT.png|OUT.webp [--size WxH]\n"
    "        [--colors 8|16|32|64|128|256]\n"
    "        [--palette optimized|netscape|monochrome|grayscale|windows-grayscale|\n"
    "                   windows-system|windows-halftone|optimized-windows]\n"
    "        [--dither none|floyd-steinberg|stucki|sierra|jarvis|stevenson-arce|burkes]\n"
    "        [--gif-compression lzw|rle] [--no-transparency] [--quality 1..100]\n"
    "        [--scale 2|3] [--states] [--preview-page [--link URL]] [--text TEXT]\n"
    "        [--shaping on|off]\n"
    "  quenzar-cli render WORK OUT.bmp|OUT.png [--mask MASK.bmp|MASK.png] [--text TEXT]\n"
    "        [--shaping on|off]\n"
    "  quenzar-cli info WORK [--text TEXT] [--shaping on|off]\n"
    "  quenzar-cli save WORK OUT.qznr|OUT.qzpl [--text TEXT] [--shaping on|off]\n"
    "  quenzar-cli fonts\n"
    "  quenzar-cli --help | --version\n"
    "\n"
    "  export  builds and renders the work and writes it as the export page does, at\n"
    "          --size or the export size the designer shows (the work's own, or fitted\n"
    "          to the picture when it stores none or --text changes the picture);\n"
    "          defaults: 256 colours, optimized, no dithering, LZW, transparency,\n"
    "          quality 90; a PNG or WebP with transparency has true alpha (soft edges\n"
    "          and a see-through shadow on any page); a WebP is lossless unless\n"
    "          --quality is given; --scale also writes OUT@2x (@3x) at that many times\n"
    "          the size, drawn anew; --states also writes OUT-hover and OUT-pressed\n"
    "          and OUT.html, the HTML that swaps them;\n"
    "          --preview-page also writes Buttons.dat and the preview page (in the\n"
    "          program folder, or installed in ~/.config/quenzar and ~/.cache/quenzar),\n"
    "          with --link as the button's link\n"
    "  render  builds the work and writes its rendered picture (and coverage mask) at\n"
    "          the size the render made it, as 24-bit BMP or PNG by the extension\n"
    "  info    prints the work as loaded (Section.Key=value) and the figures of one\n"
    "          build and render, with each letter's character, glyph and font file\n"
    "  save    writes the work (with --text, its new message) as the designer saves\n"
    "          it, with an icon from a fresh render\n"
    "  WORK    a work (.qznr) opens as saved; a template (.qzpl) or a factory design\n"
    "          (.dat) begins a new design, laid out with shaping, as in the designer\n"
    "  fonts   lists the TrueType faces, one a line\n"
    "  --text  replaces the message (UTF-8), every character in the first character's font\n"
    "  --shaping  lays the message out with shaping (joined letters, conjuncts, kerning,\n"
    "          right-to-left runs), as designs begun in the designer are, or without\n"
    "          (one glyph a character, in message order); default: as the work says,\n"
    "          shaped for a template or factory design\n"
    "\n"
    "exit status: 0 done (warnings on standard error), 1 the work could not be done and\n"
    "nothing was written, 2 usage error\n";

int Usage(const std::string& why) {
  if (!why.empty()) std::fprintf(stderr, "quenzar-cli: %s\n", why.c_str());
  std::fputs(UsageText, stderr);
  return qz::cli::ExitUsage;
}

struct TCommand {
  const char* name;
  size_t positional;                     // how many positional arguments it takes
  std::set<std::string> valueOptions;    // options followed by a value
  std::set<std::string> flagOptions;     // options standing alone
  int (*run)(const qz::cli::TArgs&);
};

const TCommand Commands[] = {
    {"export", 2,
     {"--size", "--colors", "--palette", "--dither", "--gif-compression", "--quality", "--scale", "--link", "--text",
      "--shaping"},
     {"--no-transparency", "--states", "--preview-page"}, qz::cli::Export},
    {"render", 2, {"--mask", "--text", "--shaping"}, {}, qz::cli::Render},
    {"info", 1, {"--text", "--shaping"}, {}, qz::cli::Info},
    {"save", 2, {"--text", "--shaping"}, {}, qz::cli::Save},
    {"fonts", 0, {}, {}, qz::cli::Fonts},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("");
  const std::string first = argv[1];
  if (argc == 2 && (first == "--help" || first == "-h")) {
    std::fputs(UsageText, stdout);
    return qz::cli::ExitOk;
  }
  if (argc == 2 && first == "--version") {
    std::printf("quenzar-cli %s\nwork file version %s\n", QUENZAR_VERSION, qz::WorkFileVersion);
    return qz::cli::ExitOk;
  }
  qz::cli::TArgs args;
  args.command = argv[1];
  const TCommand* command = nullptr;
  for (const TCommand& c : Commands)
    if (args.command == c.name) command = &c;
  if (!command) return Usage("unknown command '" + args.command + "'");
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (command->valueOptions.count(a)) {
      if (i + 1 >= argc) return Usage("option " + a + " needs a value");
      args.options[a] = argv[++i];
    } else if (command->flagOptions.count(a)) {
      args.options[a] = "";
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return Usage("unknown option '" + a + "' for " + args.command);
    } else {
      args.positional.push_back(a);
    }
  }
  if (args.positional.size() != command->positional)
    return Usage(args.command + " takes " + std::to_string(command->positional) + " argument(s)");
  try {
    const int status = command->run(args);
    // What was printed must have arrived: a full disk or a closed pipe is a failure.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      std::fprintf(stderr, "Cannot write to standard output: %s\n", std::strerror(errno));
      return qz::cli::ExitFailed;
    }
    return status;
  } catch (const qz::cli::TUsageError& e) {
    return Usage(e.message);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return qz::cli::ExitFailed;
  }
}
