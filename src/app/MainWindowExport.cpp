// The export of the "Export 3D Button " tab.
#include "app/MainWindow.h"

namespace qz {

// Wired to the export core once it is part of the program.
void TForm1::ExportClick() {}

}  // namespace qz
