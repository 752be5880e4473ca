// TCharMap, "Character Map": every character of codes 32..255 of a TrueType font in
// a grid of 32 columns by 7 rows (column c, row r holds code 32 + 32r + c), drawn
// through the code page of the grid's character set, with a large preview of the
// selected one. The "Characters" list offers, after "Code page", the Unicode blocks
// the font has characters of; choosing one fills the grid (32 a row, scrolled) with
// those characters. The Advanced Text Settings dialog inserts the chosen character.
//
//   map.SetCharset(editorCharset);
//   if (map.exec() == QDialog::Accepted)
//     map.ShowsBlock() ? insert(map.SelectedCodePoint, map.FontName())
//                      : insert(map.SelectedChar, map.FontName(), map.Charset());
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace qz {

class TCharMap : public QDialog {
  Q_OBJECT
 public:
  static constexpr int Columns = 32;
  static constexpr int Rows = 7;
  static constexpr int CellSize = 26;
  static constexpr int FirstCode = 32;

  // The font list is the system's TrueType faces.
  explicit TCharMap(QWidget* parent = nullptr);
  // The font list given (tests, and a system without TrueType faces).
  TCharMap(const std::vector<std::string>& faces, QWidget* parent = nullptr);

  static int CellCode(int column, int row) { return FirstCode + Columns * row + column; }

  std::string SelectedChar;        // the code of the selected cell, one byte (code-page grid)
  char32_t SelectedCodePoint = 0;  // the selected cell's character (a block; 0: none)
  // A Unicode block is shown, not the code-page grid.
  bool ShowsBlock() const;

  // The grid's character set (the editor's, given before showing); a font chosen in
  // the list sets it back to the default (1).
  void SetCharset(int charset);
  int Charset() const { return charset_; }
  // The grid's font ("Arial" while the font list is empty).
  std::string FontName() const { return fontName_; }

  // Selects the cell of a code (32..255).
  void SelectCode(int code);

  QComboBox* FontList;          // font list
  QLabel* PreviewLabel;         // "Preview: "
  QLabel* PreviewBox;           // the preview box
  QLabel* NoFontLabel;          // shown when there is no TrueType font
  QLabel* CharactersLabel;      // "Characters: "
  QComboBox* CharactersList;    // "Code page", then the Unicode blocks the font covers
  QTableWidget* CharacterGrid;  // the 32 x 7 grid

 private slots:
  void FontChange(int index);
  void CharactersChange(int index);
  void SelectCell(int row, int column);

 private:
  void CreateLists(const std::vector<std::string>& faces);
  void CreatePreview();
  void CreateGrid();
  void LayOut();
  void FillCells();
  void FillBlock();
  void SetRows(int rows);
  void ShowPreview();

  std::string fontName_ = "Arial";
  int charset_ = 1;
  std::vector<char32_t> blockChars_;  // the characters of the block shown
};

}  // namespace qz
