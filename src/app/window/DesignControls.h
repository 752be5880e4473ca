// TDesignControls: the editing controls of the tabs wired to the design session. A
// value control's change (a slider, a spinner, a list, a check box, a clear button,
// the Dimensions tab's rulers and boxes) calls the session's edit named for it and
// hands the result to the window's follow-up; and back, every control shows the
// design as the session holds it. The controls that open a dialog (colours, textures,
// fonts, shapes) are the window's. How the rulers stand for the export size is in
// Dimensions.h.
//
//   controls = new TDesignControls(*tabs, *session, [this](TControl id, const TEditResult& r) { FollowUp(id, r); }, this);
//   controls->ShowDesign();   // after a load, an undo, a dialog's OK
#pragma once

#include <QObject>
#include <functional>

#include "app/window/ControlTable.h"
#include "session/DesignSession.h"

namespace qz {

class TDesignerTabs;

class TDesignControls : public QObject {
  Q_OBJECT
 public:
  using TFollowUpFn = std::function<void(TControl, const TEditResult&)>;
  TDesignControls(TDesignerTabs& tabs, TDesignSession& session, TFollowUpFn followUp, QObject* parent);

  // Every value control shows the design, with its handler quiet; the message edit
  // too; the texture spinners across are enabled unless the proportions are held, the
  // altitude sliders while their shadows are on.
  void ShowDesign();
  // The message edit shows the session's message (after an edit made elsewhere).
  void ShowMessage();
  // The texture spinners show the tile counts in use (a fit may have changed them).
  void ShowTextureScales();
  // The Dimensions tab's boxes and rulers show the export size, and its picture the
  // preview at that size.
  void ShowDimensionsTab();

 private:
  void ConnectPart(TPart part);
  void ConnectDimensions();
  void ShowDimensions();
  void DimensionChange(TSide side, int32_t value);
  void DrawDimensionPreview();
  QWidget* Control(TControl id) const;

  TDesignerTabs& tabs_;
  TDesignSession& session_;
  TFollowUpFn followUp_;
  bool rulersActive_ = true;  // cleared while the tab's own updates set its rulers and boxes
};

}  // namespace qz
