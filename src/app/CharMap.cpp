#include "app/CharMap.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/QtBridge.h"
#include "platform/FontEngine.h"

namespace qz {

namespace {

constexpr int DefaultCharset = 1;
constexpr int CellPixelSize = 16;   // the grid font's height: what fits a 26-pixel cell
constexpr int PreviewPointSize = 24;

}  // namespace

TCharMap::TCharMap(QWidget* parent) : TCharMap(TFontEngine::TrueTypeFaces(), parent) {}

TCharMap::TCharMap(const std::vector<std::string>& faces, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Character Map");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(false);
  ComboBox1->setMaxVisibleItems(10);
  ComboBox1->setMinimumWidth(240);
  for (const std::string& f : faces) ComboBox1->addItem(QString::fromStdString(f));
  NoFontLabel = new QLabel("There is no TrueType font on this system.", this);
  NoFontLabel->setVisible(faces.empty());
  ComboBox1->setEnabled(!faces.empty());

  Label1 = new QLabel("Preview: ", this);
  Panel1 = new QLabel(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setFixedSize(96, 64);
  Panel1->setAutoFillBackground(true);
  Panel1->setBackgroundRole(QPalette::Base);

  StringGrid1 = new QTableWidget(Rows, Columns, this);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setMinimumSectionSize(CellSize);
  StringGrid1->verticalHeader()->setMinimumSectionSize(CellSize);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(CellSize);
  StringGrid1->verticalHeader()->setDefaultSectionSize(CellSize);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int frame = 2 * StringGrid1->frameWidth();
  StringGrid1->setFixedSize(Columns * CellSize + frame, Rows * CellSize + frame);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Columns; ++c) {
      auto* cell = new QTableWidgetItem;
      cell->setTextAlignment(Qt::AlignCenter);
      StringGrid1->setItem(r, c, cell);
    }
  connect(StringGrid1, &QTableWidget::currentCellChanged, this,
          [this](int row, int column) { StringGrid1SelectCell(row, column); });
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(ComboBox1);
  top->addWidget(NoFontLabel);
  top->addStretch();
  top->addWidget(Label1);
  top->addWidget(Panel1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(StringGrid1);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());

  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TCharMap::ComboBox1Change);
  if (ComboBox1->count() > 0) {
    ComboBox1->setCurrentIndex(0);
    ComboBox1Change(0);
  } else {
    FillCells();
  }
  SelectCode(FirstCode);
}

void TCharMap::ComboBox1Change(int index) {
  if (index < 0) return;
  fontName_ = ComboBox1->itemText(index).toStdString();
  charset_ = DefaultCharset;
  FillCells();
}

void TCharMap::SetCharset(int charset) {
  charset_ = charset;
  FillCells();
}

void TCharMap::FillCells() {
  QFont gridFont(QString::fromStdString(fontName_));
  gridFont.setPixelSize(CellPixelSize);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Columns; ++c) {
      QTableWidgetItem* cell = StringGrid1->item(r, c);
      cell->setFont(gridFont);
      cell->setText(CodesToQt(std::string(1, static_cast<char>(CellCode(c, r))), charset_));
    }
  ShowPreview();
}

void TCharMap::SelectCode(int code) {
  if (code < FirstCode || code > CellCode(Columns - 1, Rows - 1)) return;
  const int i = code - FirstCode;
  StringGrid1->setCurrentCell(i / Columns, i % Columns);
  StringGrid1SelectCell(i / Columns, i % Columns);
}

void TCharMap::StringGrid1SelectCell(int row, int column) {
  if (row < 0 || column < 0) return;
  SelectedChar = std::string(1, static_cast<char>(CellCode(column, row)));
  ShowPreview();
}

void TCharMap::ShowPreview() {
  QFont previewFont(QString::fromStdString(fontName_));
  previewFont.setPointSize(PreviewPointSize);
  Panel1->setFont(previewFont);
  Panel1->setText(SelectedChar.empty() ? QString() : " " + CodesToQt(SelectedChar, charset_) + " ");
}

}  // namespace qz
