// The render an export starts with: the scene drawn once more together with its
// coverage mask, both copied for the export, and drawn again without the mask so the
// designer's picture ends as it began.
//
//   std::optional<TRenderedButton> button = RenderForExport(scene, message);
//   if (!button) return;   // "Sorry, there is nothing to export" has been shown
//   WriteImage(*button, DimWidth, DimHeight, options, path);    // ExportImage.h
#pragma once

#include <optional>

#include "export/ExportImage.h"
#include "scene/MessageText.h"
#include "scene/Scene.h"

namespace qz {

inline constexpr const char* NothingToExportMessage = "Sorry, there is nothing to export";

// Nothing, after NothingToExportMessage through scene.Messages, when the message is
// empty (then nothing is rendered). The scene must have been built. A picture the
// renderer refuses as too large throws its std::runtime_error.
std::optional<TRenderedButton> RenderForExport(TScene& scene, const TMessageText& message);

}  // namespace qz
