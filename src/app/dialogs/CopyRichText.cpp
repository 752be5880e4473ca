#include "app/dialogs/CopyRichText.h"

namespace qz {

void CopyRichText(TMessageText& dest, const TMessageText& source) {
  dest.SetDefaultFormat(source.DefaultFormat());
  dest.Clear();
  if (source.Length() < 1) return;
  TMessageText whole = source;
  whole.OnSelectionChange = nullptr;
  whole.SetSelection(0, whole.Length());
  whole.CopySelectionTo(dest);
}

}  // namespace qz
