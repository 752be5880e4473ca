#include "app/dialogs/TextDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialogs/CharMap.h"
#include "app/dialogs/CopyRichText.h"
#include "app/widgets/MessageEdit.h"
#include "text/FontEngine.h"

namespace qz {

namespace {

constexpr int StartSize = 18;  // the editor's font, and every character the map inserts

QToolButton* CheckButton(const QString& caption, const QString& hint, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setText(caption);
  b->setToolTip(hint);
  b->setCheckable(true);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return b;
}

}  // namespace

TTextDialog::TTextDialog(QWidget* parent) : TTextDialog(TFontEngine::TrueTypeFaces(), parent) {}

TTextDialog::TTextDialog(const std::vector<std::string>& faces, QWidget* parent) : QDialog(parent) {
  setWindowTitle(" Advanced Text Settings");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  QToolBar* toolBar = CreateFontTools(faces);
  CreateEditor();
  LayOut(toolBar);
  CharMap = new TCharMap(faces, this);
  StartWithFirstFace(faces);
  ConnectHandlers();
  ShowSelectionFormat();
  Editor->setFocus();
}

// The tool bar: font name and size, then bold and italic, then " Symbol ".
QToolBar* TTextDialog::CreateFontTools(const std::vector<std::string>& faces) {
  CreateFontNameList(faces);
  CreateFontSizeSpinner();
  CreateStyleButtons();
  auto* toolBar = new QToolBar(this);
  toolBar->addWidget(FontNameList);
  toolBar->addWidget(FontSizeSpinner);
  toolBar->addSeparator();
  toolBar->addWidget(BoldButton);
  toolBar->addWidget(ItalicButton);
  toolBar->addSeparator();
  toolBar->addWidget(SymbolButton);
  return toolBar;
}

void TTextDialog::CreateFontNameList(const std::vector<std::string>& faces) {
  FontNameList = new QComboBox(this);
  FontNameList->setEditable(true);
  FontNameList->setInsertPolicy(QComboBox::NoInsert);
  FontNameList->setMaxVisibleItems(10);
  FontNameList->setMinimumWidth(200);
  FontNameList->setToolTip("Select font name");
  FontNameList->setStatusTip("Font Name");
  for (const std::string& f : faces) FontNameList->addItem(QString::fromStdString(f));
  if (faces.empty()) {
    FontNameList->setEnabled(false);
    FontNameList->lineEdit()->setPlaceholderText("No TrueType font installed");
  }
  FontNameList->installEventFilter(this);
  FontNameList->lineEdit()->installEventFilter(this);
}

void TTextDialog::CreateFontSizeSpinner() {
  FontSizeSpinner = new QSpinBox(this);
  FontSizeSpinner->setRange(0, 100);
  FontSizeSpinner->setValue(0);
  FontSizeSpinner->setToolTip("Select font size");
  FontSizeSpinner->setStatusTip("Font Size");
  // The size is applied when the user stops typing (Enter, leaving the box) or uses
  // the arrows, so typing "24" does not first make the selection 2 points high.
  FontSizeSpinner->setKeyboardTracking(false);
  FontSizeSpinner->installEventFilter(this);
}

void TTextDialog::CreateStyleButtons() {
  BoldButton = CheckButton("Bold", "Bold", this);
  QFont boldFont = BoldButton->font();
  boldFont.setBold(true);
  BoldButton->setFont(boldFont);
  ItalicButton = CheckButton("Italic", "Italic", this);
  QFont italicFont = ItalicButton->font();
  italicFont.setItalic(true);
  ItalicButton->setFont(italicFont);
  SymbolButton = new QToolButton(this);
  SymbolButton->setText(" Symbol ");
  SymbolButton->setToolTip("Insert symbol");
}

void TTextDialog::CreateEditor() {
  Editor = new TMessageEdit(this);
  Editor->setMinimumSize(480, 96);
  Editor->setToolTip("Text on the button");
  ShapingCheck = new QCheckBox(" Shape the text: joined letters, kerning, right to left", this);
  ShapingCheck->setToolTip("Lay the message out as its script is written");
}

// The tool bar above the editor and the shaping box, OK and Cancel below them.
void TTextDialog::LayOut(QToolBar* toolBar) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(toolBar);
  layout->addWidget(Editor);
  layout->addWidget(ShapingCheck);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

// Creation: the editor's font is the first face of the list, 18 points.
void TTextDialog::StartWithFirstFace(const std::vector<std::string>& faces) {
  TCharFormat start = Editor->DefaultFormat();
  if (!faces.empty()) start.Name = faces.front();
  start.Size = StartSize;
  Editor->SetDefaultFormat(start);
  if (!faces.empty()) FontNameList->setCurrentIndex(0);
}

void TTextDialog::ConnectHandlers() {
  // The tool bar follows the selection, the caret and the format typing gets there.
  connect(Editor, &QTextEdit::selectionChanged, this, &TTextDialog::ShowSelectionFormat);
  connect(Editor, &QTextEdit::cursorPositionChanged, this, &TTextDialog::ShowSelectionFormat);
  connect(Editor, &QTextEdit::currentCharFormatChanged, this, &TTextDialog::ShowSelectionFormat);
  connect(FontNameList, &QComboBox::activated, this, &TTextDialog::FontNameChange);
  connect(FontSizeSpinner, &QSpinBox::valueChanged, this, &TTextDialog::FontSizeChange);
  connect(BoldButton, &QToolButton::clicked, this, &TTextDialog::BoldClick);
  connect(ItalicButton, &QToolButton::clicked, this, &TTextDialog::ItalicClick);
  connect(SymbolButton, &QToolButton::clicked, this, &TTextDialog::SymbolClick);
}

void TTextDialog::LoadText(const TMessageText& text) {
  TMessageText copy;
  Editor->ToMessageText(copy);
  CopyRichText(copy, text);
  copy.SetSelection(copy.Length(), 0);
  Editor->FromMessageText(copy);
}

TMessageText TTextDialog::TakeText() const {
  TMessageText text;
  Editor->ToMessageText(text);
  return text;
}

void TTextDialog::ShowSelectionFormat() {
  Updating = true;
  const TCharFormat f = Editor->SelFormat();
  BoldButton->setChecked(f.Bold);
  ItalicButton->setChecked(f.Italic);
  FontSizeSpinner->setValue(f.Size);
  const QString name = QString::fromStdString(f.Name);
  FontNameList->setCurrentIndex(FontNameList->findText(name, Qt::MatchFixedString));
  FontNameList->setEditText(name);
  Updating = false;
}

void TTextDialog::FontNameChange(int index) {
  if (Updating || index < 0) return;
  const std::string name = FontNameList->itemText(index).toStdString();
  Editor->EditAsText([&](TMessageText& t) { t.SetSelName(name); });
  Editor->setFocus();
}

void TTextDialog::FontSizeChange(int size) {
  if (Updating) return;
  Editor->EditAsText([size](TMessageText& t) { t.SetSelSize(size); });
  Editor->setFocus();
}

void TTextDialog::BoldClick(bool down) {
  if (Updating) return;
  Editor->EditAsText([down](TMessageText& t) { t.SetSelBold(down); });
  Editor->setFocus();
}

void TTextDialog::ItalicClick(bool down) {
  if (Updating) return;
  Editor->EditAsText([down](TMessageText& t) { t.SetSelItalic(down); });
  Editor->setFocus();
}

void TTextDialog::SymbolClick() {
  CharMap->SetCharset(Editor->DefaultFormat().Charset);
  if (CharMap->exec() == QDialog::Accepted && (CharMap->ShowsBlock() ? CharMap->SelectedCodePoint != 0
                                                                      : !CharMap->SelectedChar.empty())) {
    Editor->EditAsText([this](TMessageText& t) {
      t.SetSelSize(StartSize);
      t.SetSelName(CharMap->FontName());
      // A code is inserted as the map showed it: in the map's character set. A
      // character of a Unicode block takes the charset typing it would give.
      t.SetSelCharset(CharMap->Charset());
      if (CharMap->ShowsBlock())
        t.ReplaceSelection(std::u32string(1, CharMap->SelectedCodePoint));
      else
        t.ReplaceSelection(CharMap->SelectedChar);
    });
  }
  Editor->setFocus();
}

// A name typed into the box applies once it names a listed face (in any case);
// text that matches no entry is left in the box and changes nothing.
void TTextDialog::ApplyTypedName() {
  const int index = FontNameList->findText(FontNameList->currentText(), Qt::MatchFixedString);
  if (index < 0) return;
  FontNameList->setCurrentIndex(index);
  FontNameChange(index);
}

// Enter in the name or size box applies it and returns to the editor instead of
// closing the dialog through its default button.
bool TTextDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if ((watched == FontNameList || watched == FontNameList->lineEdit()) && !FontNameList->view()->isVisible()) {
        ApplyTypedName();
        return true;
      }
      if (watched == FontSizeSpinner) {
        FontSizeSpinner->interpretText();  // emits valueChanged when the number changed
        Editor->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qz
