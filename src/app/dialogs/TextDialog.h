// TTextDialog, " Advanced Text Settings": the message's fonts character by character.
// A tool bar sets the face, size, bold and italic of the editor's selection (with
// nothing selected, of what is typed next) and inserts any character of a font
// through the Character Map.
//
//   dialog.LoadText(messageText);  // the message with its fonts
//   if (dialog.exec() == QDialog::Accepted) CopyRichText(messageText, dialog.TakeText());
//
// Without TrueType faces the dialog still opens: the name box is disabled and says
// so, and the editor keeps the default face.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "scene/MessageText.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace qz {

class TCharMap;
class TMessageEdit;

class TTextDialog : public QDialog {
  Q_OBJECT
 public:
  // The font list is the system's TrueType faces.
  explicit TTextDialog(QWidget* parent = nullptr);
  // The font list given (tests, and a system without TrueType faces).
  TTextDialog(const std::vector<std::string>& faces, QWidget* parent = nullptr);

  // The editor takes the text: its default font, then every character with its own.
  void LoadText(const TMessageText& text);
  // The editor's text with its fonts.
  TMessageText TakeText() const;

  // The tool bar is being set from the editor's selection: its handlers must not
  // write back.
  bool Updating = false;

  QComboBox* FontNameList;    // font name, editable, ten lines dropped
  QSpinBox* FontSizeSpinner;  // font size, typed or stepped with the arrows, 0..100
  QToolButton* BoldButton;    // "Bold"
  QToolButton* ItalicButton;  // "Italic"
  QToolButton* SymbolButton;  // " Symbol "
  TMessageEdit* Editor;
  // The message laid out with shaping: joined letters, conjuncts, kerning, right-to-left
  // runs (on for designs begun with New or a template; off keeps an older work's layout).
  QCheckBox* ShapingCheck;
  TCharMap* CharMap;  // shown by " Symbol "

 private slots:
  void ShowSelectionFormat();
  void FontNameChange(int index);
  void FontSizeChange(int size);
  void BoldClick(bool down);
  void ItalicClick(bool down);
  void SymbolClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolBar* CreateFontTools(const std::vector<std::string>& faces);
  void CreateFontNameList(const std::vector<std::string>& faces);
  void CreateFontSizeSpinner();
  void CreateStyleButtons();
  void CreateEditor();
  void LayOut(QToolBar* toolBar);
  void StartWithFirstFace(const std::vector<std::string>& faces);
  void ConnectHandlers();
  void ApplyTypedName();
};

}  // namespace qz
