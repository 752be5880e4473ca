// quenzar-cli info WORK: the work as loaded, in the lines its save would write, then
// the figures of one build and render (each letter with the character it draws, its
// glyph index and its font file, in the order the letters stand, left to right).
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/Session.h"
#include "base/IniFile.h"
#include "text/Utf8.h"
#include "scene/WorkFile.h"

namespace qz::cli {

int Info(const TArgs& args) {
  TCliSession cli;
  TDesignSession& session = cli.session;
  if (!cli.Load(args.positional[0], args)) return ExitFailed;

  // Build and render before anything is printed: a refused picture prints nothing.
  cli.BuildAndRender(false);

  // The design's lines as a save writes them, in their order, as Section.Key=value:
  // the design as opened and edited, with the export size it has now (a work that
  // stores none has the one its picture fits).
  TIniFile ini;
  SaveDesignToIni(session.Params(), session.Text(), ini);
  std::vector<std::string> lines;
  for (const auto& [section, kv] : ini.Entries()) lines.push_back(section + "." + kv.first + "=" + kv.second);
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());

  const TParams s = session.BuiltParams();
  const TLetters& letters = session.Built().Letters;
  const TView3D& view = session.Built().View;
  const TPicture& picture = session.Picture();
  auto figure = [](const std::string& name, long long value) { std::printf("%s=%lld\n", name.c_str(), value); };
  figure("Letters", letters.Count());
  for (int i = 1; i <= letters.Count(); ++i) {
    const TLetter& letter = letters[i];
    long long points = 0;
    for (int c = 1; c <= letter.ContourCount; ++c) points += letter.Contour(c).PtCount;
    const std::string name = "Letter" + std::to_string(i);
    figure(name + ".Contours", letter.ContourCount);
    figure(name + ".Points", points);
    std::printf("%s.Code=%s\n", name.c_str(), CodePointName(letter.Code).c_str());
    figure(name + ".Glyph", letter.Glyph);
    std::printf("%s.Font=%s\n", name.c_str(), letter.FontFile.c_str());
  }
  figure("Bodies", view.BodyCount());
  figure("Faces", view.FaceCount());
  figure("Vertices", view.VertexCount());
  const int32_t button = s.Type > 0 ? view.ButtonBody() : 0;
  figure("ButtonFaces", button ? view.Body(button).FaceCount() : 0);
  figure("ButtonVertices", button ? view.Body(button).VertexCount() : 0);
  figure("ButLeft", s.ButLeft);
  figure("ButTop", s.ButTop);
  figure("ButRight", s.ButRight);
  figure("ButBottom", s.ButBottom);
  figure("ButShadowX", s.ButShadowX);
  figure("ButShadowY", s.ButShadowY);
  figure("TxtShadowX", s.TxtShadowX);
  figure("TxtShadowY", s.TxtShadowY);
  figure("ImageWidth", picture.Image.Width());
  figure("ImageHeight", picture.Image.Height());
  figure("CenterX", picture.CenterX);
  figure("CenterY", picture.CenterY);
  return ExitOk;
}

}  // namespace qz::cli
