// CopyRichText: moves the formatted message between the main window's message edit
// and the Advanced Text Settings editor. The destination takes the source's default
// font, is cleared, and receives every character of the source with its own font.
// The copy goes directly from text to text, so the user's clipboard is left alone;
// the source's selection is not disturbed either.
//
//   CopyRichText(dialogText, messageText);   // before showing the dialog
//   CopyRichText(messageText, dialogText);   // after OK
#pragma once

#include "scene/MessageText.h"

namespace qz {

void CopyRichText(TMessageText& dest, const TMessageText& source);

}  // namespace qz
