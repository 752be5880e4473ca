#include "app/MainWindow.h"

namespace qz {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Quenzar");
  resize(1024, 720);
}

}  // namespace qz
