#include "app/dialogs/CharMap.h"

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

#include "app/bridge/QtBridge.h"
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
  CreateLists(faces);
  CreatePreview();
  CreateGrid();
  LayOut();

  // The map opens on the first font's code page, its first cell chosen.
  connect(FontList, &QComboBox::currentIndexChanged, this, &TCharMap::FontChange);
  connect(CharactersList, &QComboBox::currentIndexChanged, this, &TCharMap::CharactersChange);
  if (FontList->count() > 0) {
    FontList->setCurrentIndex(0);
    FontChange(0);
  } else {
    FillCells();
  }
  SelectCode(FirstCode);
}

// The font list (or the note that there is no font) and the "Characters" list.
void TCharMap::CreateLists(const std::vector<std::string>& faces) {
  FontList = new QComboBox(this);
  FontList->setEditable(false);
  FontList->setMaxVisibleItems(10);
  FontList->setMinimumWidth(240);
  for (const std::string& f : faces) FontList->addItem(QString::fromStdString(f));
  NoFontLabel = new QLabel("There is no TrueType font on this system.", this);
  NoFontLabel->setVisible(faces.empty());
  FontList->setEnabled(!faces.empty());

  CharactersLabel = new QLabel("Characters: ", this);
  CharactersList = new QComboBox(this);
  CharactersList->setEditable(false);
  CharactersList->setMaxVisibleItems(16);
  CharactersList->setMinimumWidth(240);
  CharactersList->addItem(CodePageEntry);
}

void TCharMap::CreatePreview() {
  PreviewLabel = new QLabel("Preview: ", this);
  PreviewBox = new QLabel(this);
  PreviewBox->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PreviewBox->setAlignment(Qt::AlignCenter);
  PreviewBox->setFixedSize(96, 64);
  PreviewBox->setAutoFillBackground(true);
  PreviewBox->setBackgroundRole(QPalette::Base);
}

// The 32 x 7 grid of fixed cells; a click selects a character, a double-click takes it.
void TCharMap::CreateGrid() {
  CharacterGrid = new QTableWidget(Rows, Columns, this);
  CharacterGrid->horizontalHeader()->hide();
  CharacterGrid->verticalHeader()->hide();
  CharacterGrid->horizontalHeader()->setMinimumSectionSize(CellSize);
  CharacterGrid->verticalHeader()->setMinimumSectionSize(CellSize);
  CharacterGrid->horizontalHeader()->setDefaultSectionSize(CellSize);
  CharacterGrid->verticalHeader()->setDefaultSectionSize(CellSize);
  CharacterGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A block longer than seven rows scrolls; room for the bar is kept beside the grid.
  CharacterGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  CharacterGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  CharacterGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
  CharacterGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int frame = 2 * CharacterGrid->frameWidth();
  const int bar = CharacterGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  CharacterGrid->setFixedSize(Columns * CellSize + frame + bar, Rows * CellSize + frame);
  SetRows(Rows);
  connect(CharacterGrid, &QTableWidget::currentCellChanged, this,
          [this](int row, int column) { SelectCell(row, column); });
  connect(CharacterGrid, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
}

// The lists on the left and the preview on the right above the grid, OK and Cancel
// below it.
void TCharMap::LayOut() {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* fonts = new QVBoxLayout;
  fonts->addWidget(FontList);
  fonts->addWidget(NoFontLabel);
  auto* blocks = new QHBoxLayout;
  blocks->addWidget(CharactersLabel);
  blocks->addWidget(CharactersList);
  blocks->addStretch();
  fonts->addLayout(blocks);
  auto* top = new QHBoxLayout;
  top->addLayout(fonts);
  top->addStretch();
  top->addWidget(PreviewLabel);
  top->addWidget(PreviewBox);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(CharacterGrid);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

void TCharMap::FontChange(int index) {
  if (index < 0) return;
  fontName_ = FontList->itemText(index).toStdString();
  charset_ = DefaultCharset;
  // The blocks of the new font; the map starts again at its code page.
  {
    const QSignalBlocker quiet(CharactersList);
    CharactersList->clear();
    CharactersList->addItem(CodePageEntry);
    for (const TCoveredBlock& b : CoveredBlocks(TFontEngine::CoveredCharacters(fontName_)))
      CharactersList->addItem(QString::fromUtf8(b.Block->Name));
  }
  CharactersChange(0);
}

void TCharMap::CharactersChange(int index) {
  blockChars_.clear();
  if (index > 0) {
    const std::string name = CharactersList->itemText(index).toStdString();
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
  CharacterGrid->clearContents();
  CharacterGrid->setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < Columns; ++c) {
      auto* cell = new QTableWidgetItem;
      cell->setTextAlignment(Qt::AlignCenter);
      CharacterGrid->setItem(r, c, cell);
    }
}

void TCharMap::FillCells() {
  SelectedCodePoint = 0;
  // Back from a block the grid is made anew and its first cell chosen; otherwise the
  // chosen cell stays.
  const bool anew = CharacterGrid->rowCount() != Rows || SelectedChar.empty();
  if (CharacterGrid->rowCount() != Rows) SetRows(Rows);
  QFont gridFont(QString::fromStdString(fontName_));
  gridFont.setPixelSize(CellPixelSize);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Columns; ++c) {
      QTableWidgetItem* cell = CharacterGrid->item(r, c);
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
  CharacterGrid->setFont(gridFont);
  for (int i = 0; i < CharacterGrid->rowCount() * Columns; ++i) {
    QTableWidgetItem* cell = CharacterGrid->item(i / Columns, i % Columns);
    if (i < count)
      cell->setText(QString::fromUcs4(&blockChars_[static_cast<size_t>(i)], 1));
    else
      cell->setFlags(Qt::NoItemFlags);  // the row's rest: nothing to choose
  }
  CharacterGrid->scrollToTop();
  CharacterGrid->setCurrentCell(0, 0);
  SelectCell(0, 0);
}

void TCharMap::SelectCode(int code) {
  if (ShowsBlock() || code < FirstCode || code > CellCode(Columns - 1, Rows - 1)) return;
  const int i = code - FirstCode;
  CharacterGrid->setCurrentCell(i / Columns, i % Columns);
  SelectCell(i / Columns, i % Columns);
}

void TCharMap::SelectCell(int row, int column) {
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
  PreviewBox->setFont(previewFont);
  QString shown;
  if (ShowsBlock() && SelectedCodePoint != 0)
    shown = QString::fromUcs4(&SelectedCodePoint, 1);
  else if (!ShowsBlock() && !SelectedChar.empty())
    shown = CodesToQt(SelectedChar, charset_);
  PreviewBox->setText(shown.isEmpty() ? QString() : " " + shown + " ");
}

}  // namespace qz
