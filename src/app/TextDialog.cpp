#include "app/TextDialog.h"

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

#include "app/CharMap.h"
#include "app/CopyRichText.h"
#include "app/MessageEdit.h"
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

  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setMaxVisibleItems(10);
  ComboBox1->setMinimumWidth(200);
  ComboBox1->setToolTip("Select font name");
  ComboBox1->setStatusTip("Font Name");
  for (const std::string& f : faces) ComboBox1->addItem(QString::fromStdString(f));
  if (faces.empty()) {
    ComboBox1->setEnabled(false);
    ComboBox1->lineEdit()->setPlaceholderText("No TrueType font installed");
  }
  ComboBox1->installEventFilter(this);
  ComboBox1->lineEdit()->installEventFilter(this);

  Edit1 = new QSpinBox(this);
  Edit1->setRange(0, 100);
  Edit1->setValue(0);
  Edit1->setToolTip("Select font size");
  Edit1->setStatusTip("Font Size");
  // The size is applied when the user stops typing (Enter, leaving the box) or uses
  // the arrows, so typing "24" does not first make the selection 2 points high.
  Edit1->setKeyboardTracking(false);
  Edit1->installEventFilter(this);

  ToolButton1 = CheckButton("Bold", "Bold", this);
  QFont boldFont = ToolButton1->font();
  boldFont.setBold(true);
  ToolButton1->setFont(boldFont);
  ToolButton2 = CheckButton("Italic", "Italic", this);
  QFont italicFont = ToolButton2->font();
  italicFont.setItalic(true);
  ToolButton2->setFont(italicFont);
  ToolButton3 = new QToolButton(this);
  ToolButton3->setText(" Symbol ");
  ToolButton3->setToolTip("Insert symbol");

  auto* toolBar = new QToolBar(this);
  toolBar->addWidget(ComboBox1);
  toolBar->addWidget(Edit1);
  toolBar->addSeparator();
  toolBar->addWidget(ToolButton1);
  toolBar->addWidget(ToolButton2);
  toolBar->addSeparator();
  toolBar->addWidget(ToolButton3);

  RichEdit1 = new TMessageEdit(this);
  RichEdit1->setMinimumSize(480, 96);
  RichEdit1->setToolTip("Text on the button");

  ShapingBox = new QCheckBox(" Shape the text: joined letters, kerning, right to left", this);
  ShapingBox->setToolTip("Lay the message out as its script is written");

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(toolBar);
  layout->addWidget(RichEdit1);
  layout->addWidget(ShapingBox);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());

  CharMap = new TCharMap(faces, this);

  // Creation: the editor's font is the first face of the list, 18 points.
  TCharFormat start = RichEdit1->DefaultFormat();
  if (!faces.empty()) start.Name = faces.front();
  start.Size = StartSize;
  RichEdit1->SetDefaultFormat(start);
  if (!faces.empty()) ComboBox1->setCurrentIndex(0);

  // The tool bar follows the selection, the caret and the format typing gets there.
  connect(RichEdit1, &QTextEdit::selectionChanged, this, &TTextDialog::RichEdit1SelectionChange);
  connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, &TTextDialog::RichEdit1SelectionChange);
  connect(RichEdit1, &QTextEdit::currentCharFormatChanged, this, &TTextDialog::RichEdit1SelectionChange);
  connect(ComboBox1, &QComboBox::activated, this, &TTextDialog::ComboBox1Change);
  connect(Edit1, &QSpinBox::valueChanged, this, &TTextDialog::Edit1Change);
  connect(ToolButton1, &QToolButton::clicked, this, &TTextDialog::ToolButton1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &TTextDialog::ToolButton2Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TTextDialog::ToolButton3Click);
  RichEdit1SelectionChange();
  RichEdit1->setFocus();
}

void TTextDialog::LoadText(const TMessageText& text) {
  TMessageText copy;
  RichEdit1->ToMessageText(copy);
  CopyRichText(copy, text);
  copy.SetSelection(copy.Length(), 0);
  RichEdit1->FromMessageText(copy);
}

TMessageText TTextDialog::TakeText() const {
  TMessageText text;
  RichEdit1->ToMessageText(text);
  return text;
}

void TTextDialog::RichEdit1SelectionChange() {
  Updating = true;
  const TCharFormat f = RichEdit1->SelFormat();
  ToolButton1->setChecked(f.Bold);
  ToolButton2->setChecked(f.Italic);
  Edit1->setValue(f.Size);
  const QString name = QString::fromStdString(f.Name);
  ComboBox1->setCurrentIndex(ComboBox1->findText(name, Qt::MatchFixedString));
  ComboBox1->setEditText(name);
  Updating = false;
}

void TTextDialog::ComboBox1Change(int index) {
  if (Updating || index < 0) return;
  const std::string name = ComboBox1->itemText(index).toStdString();
  RichEdit1->EditAsText([&](TMessageText& t) { t.SetSelName(name); });
  RichEdit1->setFocus();
}

void TTextDialog::Edit1Change(int size) {
  if (Updating) return;
  RichEdit1->EditAsText([size](TMessageText& t) { t.SetSelSize(size); });
  RichEdit1->setFocus();
}

void TTextDialog::ToolButton1Click(bool down) {
  if (Updating) return;
  RichEdit1->EditAsText([down](TMessageText& t) { t.SetSelBold(down); });
  RichEdit1->setFocus();
}

void TTextDialog::ToolButton2Click(bool down) {
  if (Updating) return;
  RichEdit1->EditAsText([down](TMessageText& t) { t.SetSelItalic(down); });
  RichEdit1->setFocus();
}

void TTextDialog::ToolButton3Click() {
  CharMap->SetCharset(RichEdit1->DefaultFormat().Charset);
  if (CharMap->exec() == QDialog::Accepted && (CharMap->ShowsBlock() ? CharMap->SelectedCodePoint != 0
                                                                      : !CharMap->SelectedChar.empty())) {
    RichEdit1->EditAsText([this](TMessageText& t) {
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
  RichEdit1->setFocus();
}

// A name typed into the box applies once it names a listed face (in any case);
// text that matches no entry is left in the box and changes nothing.
void TTextDialog::ApplyTypedName() {
  const int index = ComboBox1->findText(ComboBox1->currentText(), Qt::MatchFixedString);
  if (index < 0) return;
  ComboBox1->setCurrentIndex(index);
  ComboBox1Change(index);
}

// Enter in the name or size box applies it and returns to the editor instead of
// closing the dialog through its default button.
bool TTextDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if ((watched == ComboBox1 || watched == ComboBox1->lineEdit()) && !ComboBox1->view()->isVisible()) {
        ApplyTypedName();
        return true;
      }
      if (watched == Edit1) {
        Edit1->interpretText();  // emits valueChanged when the number changed
        RichEdit1->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qz
