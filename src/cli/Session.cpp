#include "cli/Session.h"

#include "geometry/ButtonBody.h"
#include "geometry/ButtonOutline.h"
#include "render/RenderDriver.h"
#include "scene/Build.h"
#include "scene/TextureFiles.h"
#include "scene/WorkFile.h"

namespace qz::cli {

namespace {

constexpr int EmptyPreviewSide = 16;

}  // namespace

TSession::TSession() {
  folders.ProgramDir = TSettings::ExecutableDir();
  folders.TexturesDir = folders.ProgramDir + "Textures/";
  scene.ProgramDir = folders.ProgramDir;
  scene.Messages = &messages;
}

bool TSession::Load(const std::string& path, const TArgs& args) {
  if (!scene.LoadFromFile(path, message)) return false;
  RefreshDerived(scene);
  if (args.Has("--text")) ReplaceMessage(message, args.options.at("--text"));
  return true;
}

bool TSession::Build() {
  LoadTextTexture(scene, folders.TexturesDir);
  LoadButtonTexture(scene, folders.TexturesDir);
  if (message.Length() == 0 || (scene.Type <= 0 && TScene::CountNonBlank(message.Text()) < 1)) return false;
  // The designer carries on silently with the shape of the last build; a fresh
  // session has none, so the button would have no outline: say so.
  if (scene.Type > 0 && IsShapeFileType(scene.Type) && !scene.ShapeName.empty() &&
      !FindShapeFile(scene.ProgramDir, scene.ShapeName))
    messages.ShowMessage("Cannot find the shape file " + scene.ShapeName + " in " + scene.ProgramDir +
                         "BShapes/; the button has no outline");
  qz::Build(scene, message);
  return true;
}

void TSession::BuildAndRender(bool withMask) {
  if (!Build()) {
    scene.Image.SetSize(EmptyPreviewSide, EmptyPreviewSide);
    ClearImage(scene);
    scene.Mask.SetSize(EmptyPreviewSide, EmptyPreviewSide);
    return;
  }
  RenderScene(scene, withMask, false);
}

}  // namespace qz::cli
