// quenzar-cli info WORK: the work as loaded, in the lines its save would write, then
// the figures of one build and render.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/Session.h"
#include "platform/IniFile.h"
#include "scene/WorkFile.h"

namespace qz::cli {

int Info(const TArgs& args) {
  TSession session;
  if (!session.Load(args.positional[0], args)) return ExitFailed;

  // Exactly the lines a save would write, in their order, as Section.Key=value: taken
  // before the build, which changes some of them (Render.Y, texture scales).
  TIniFile ini;
  SaveSceneToIni(session.scene, session.message, ini);
  std::vector<std::string> lines;
  for (const auto& [section, kv] : ini.Entries()) lines.push_back(section + "." + kv.first + "=" + kv.second);

  // Build and render before anything is printed: a refused picture prints nothing.
  session.BuildAndRender(false);
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());

  const TScene& s = session.scene;
  const TView3D& view = s.View;
  auto figure = [](const std::string& name, long long value) { std::printf("%s=%lld\n", name.c_str(), value); };
  figure("Letters", s.LetterCount);
  for (int i = 1; i <= s.LetterCount; ++i) {
    const TLetter& letter = s.Letter(i);
    long long points = 0;
    for (int c = 1; c <= letter.ContourCount; ++c) points += letter.Contour(c).PtCount;
    figure("Letter" + std::to_string(i) + ".Contours", letter.ContourCount);
    figure("Letter" + std::to_string(i) + ".Points", points);
  }
  figure("Bodies", view.BodyCount());
  figure("Faces", view.FaceCount());
  figure("Vertices", view.VertexCount());
  const bool button = s.Type > 0 && view.BodyCount() > s.LetterCount;
  figure("ButtonFaces", button ? view.Body(view.BodyCount()).FaceCount() : 0);
  figure("ButtonVertices", button ? view.Body(view.BodyCount()).VertexCount() : 0);
  figure("ButLeft", s.ButLeft);
  figure("ButTop", s.ButTop);
  figure("ButRight", s.ButRight);
  figure("ButBottom", s.ButBottom);
  figure("ButShadowX", s.ButShadowX);
  figure("ButShadowY", s.ButShadowY);
  figure("TxtShadowX", s.TxtShadowX);
  figure("TxtShadowY", s.TxtShadowY);
  figure("ImageWidth", s.Image.Width());
  figure("ImageHeight", s.Image.Height());
  figure("CenterX", s.CenterX);
  figure("CenterY", s.CenterY);
  return ExitOk;
}

}  // namespace qz::cli
