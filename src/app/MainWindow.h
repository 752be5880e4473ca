// TForm1: the designer's main window.
#pragma once

#include <QMainWindow>

namespace qz {

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
};

}  // namespace qz
