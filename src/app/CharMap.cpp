#include "app/CharMap.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/QtBridge.h"
#include "text/FontEngine.h"
#include "text/UnicodeBlocks.h"

namespace qz {

namespace {

constexpr int DefaultCharset = 1;
const QString CodePageEntry = "Code page";
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

  Label2 = new QLabel("Characters: ", this);
  ComboBox2 = new QComboBox(this);
  ComboBox2->setEditable(false);
  ComboBox2->setMaxVisibleItems(16);
  ComboBox2->setMinimumWidth(240);
  ComboBox2->addItem(CodePageEntry);

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
  // A block longer than seven rows scrolls; room for the bar is kept beside the grid.
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int frame = 2 * StringGrid1->frameWidth();
  const int bar = StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  StringGrid1->setFixedSize(Columns * CellSize + frame + bar, Rows * CellSize + frame);
  SetRows(Rows);
  connect(StringGrid1, &QTableWidget::currentCellChanged, this,
          [this](int row, int column) { StringGrid1SelectCell(row, column); });
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* fonts = new QVBoxLayout;
  fonts->addWidget(ComboBox1);
  fonts->addWidget(NoFontLabel);
  auto* blocks = new QHBoxLayout;
  blocks->addWidget(Label2);
  blocks->addWidget(ComboBox2);
  blocks->addStretch();
  fonts->addLayout(blocks);
  auto* top = new QHBoxLayout;
  top->addLayout(fonts);
  top->addStretch();
  top->addWidget(Label1);
  top->addWidget(Panel1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(StringGrid1);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());

  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TCharMap::ComboBox1Change);
  connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TCharMap::ComboBox2Change);
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
  // The blocks of the new font; the map starts again at its code page.
  {
    const QSignalBlocker quiet(ComboBox2);
    ComboBox2->clear();
    ComboBox2->addItem(CodePageEntry);
    for (const TCoveredBlock& b : CoveredBlocks(TFontEngine::CoveredCharacters(fontName_)))
      ComboBox2->addItem(QString::fromUtf8(b.Block->Name));
  }
  ComboBox2Change(0);
}

void TCharMap::ComboBox2Change(int index) {
  blockChars_.clear();
  if (index > 0) {
    const std::string name = ComboBox2->itemText(index).toStdString();
    for (TCoveredBlock& b : CoveredBlocks(TFontEngine::CoveredCharacters(fontName_)))
      if (name == b.Block->Name) blockChars_ = std::move(b.Characters);
  }
  if (ShowsBlock())
    FillBlock();
  else
    FillCells();
}

bool TCharMap::ShowsBlock() const { return !blockChars_.empty(); }

void TCharMap::SetCharset(int charset) {
  charset_ = charset;
  if (!ShowsBlock()) FillCells();
}

void TCharMap::SetRows(int rows) {
  StringGrid1->clearContents();
  StringGrid1->setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < Columns; ++c) {
      auto* cell = new QTableWidgetItem;
      cell->setTextAlignment(Qt::AlignCenter);
      StringGrid1->setItem(r, c, cell);
    }
}

void TCharMap::FillCells() {
  SelectedCodePoint = 0;
  // Back from a block the grid is made anew and its first cell chosen; otherwise the
  // chosen cell stays.
  const bool anew = StringGrid1->rowCount() != Rows || SelectedChar.empty();
  if (StringGrid1->rowCount() != Rows) SetRows(Rows);
  QFont gridFont(QString::fromStdString(fontName_));
  gridFont.setPixelSize(CellPixelSize);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Columns; ++c) {
      QTableWidgetItem* cell = StringGrid1->item(r, c);
      cell->setFont(gridFont);
      cell->setText(CodesToQt(std::string(1, static_cast<char>(CellCode(c, r))), charset_));
    }
  if (anew)
    SelectCode(FirstCode);
  else
    ShowPreview();
}

void TCharMap::FillBlock() {
  const int count = static_cast<int>(blockChars_.size());
  SetRows((count + Columns - 1) / Columns);
  QFont gridFont(QString::fromStdString(fontName_));
  gridFont.setPixelSize(CellPixelSize);
  StringGrid1->setFont(gridFont);
  for (int i = 0; i < StringGrid1->rowCount() * Columns; ++i) {
    QTableWidgetItem* cell = StringGrid1->item(i / Columns, i % Columns);
    if (i < count)
      cell->setText(QString::fromUcs4(&blockChars_[static_cast<size_t>(i)], 1));
    else
      cell->setFlags(Qt::NoItemFlags);  // the row's rest: nothing to choose
  }
  StringGrid1->scrollToTop();
  StringGrid1->setCurrentCell(0, 0);
  StringGrid1SelectCell(0, 0);
}

void TCharMap::SelectCode(int code) {
  if (ShowsBlock() || code < FirstCode || code > CellCode(Columns - 1, Rows - 1)) return;
  const int i = code - FirstCode;
  StringGrid1->setCurrentCell(i / Columns, i % Columns);
  StringGrid1SelectCell(i / Columns, i % Columns);
}

void TCharMap::StringGrid1SelectCell(int row, int column) {
  if (row < 0 || column < 0) return;
  if (ShowsBlock()) {
    const size_t i = static_cast<size_t>(row) * Columns + static_cast<size_t>(column);
    if (i >= blockChars_.size()) return;
    SelectedCodePoint = blockChars_[i];
    SelectedChar.clear();
  } else {
    SelectedChar = std::string(1, static_cast<char>(CellCode(column, row)));
  }
  ShowPreview();
}

void TCharMap::ShowPreview() {
  QFont previewFont(QString::fromStdString(fontName_));
  previewFont.setPointSize(PreviewPointSize);
  Panel1->setFont(previewFont);
  QString shown;
  if (ShowsBlock() && SelectedCodePoint != 0)
    shown = QString::fromUcs4(&SelectedCodePoint, 1);
  else if (!ShowsBlock() && !SelectedChar.empty())
    shown = CodesToQt(SelectedChar, charset_);
  Panel1->setText(shown.isEmpty() ? QString() : " " + shown + " ");
}

}  // namespace qz
