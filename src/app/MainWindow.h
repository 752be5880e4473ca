// TForm1: the designer's main window. The preview of the button fills its upper part;
// below it, ten tabs lead through the steps "A." to "N.". Every edit writes a design
// field of the one TScene the window owns and asks for the follow-up the control
// table gives (ControlTable.h): a rebuild, a re-render, deferred work that the 250 ms
// timer runs once the user pauses (DeferredWork.h), or nothing until export.
//
// The window holds no algorithm of its own: the build, the render and the preview
// scaling are the core's; the rules of the Dimensions tab and of the light marker are
// plain functions (Dimensions.h), the hex colours too (HexColor.h).
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "app/ControlTable.h"
#include "app/DeferredWork.h"
#include "app/Dimensions.h"
#include "app/GuiSinks.h"
#include "platform/Bitmap.h"
#include "scene/MessageText.h"
#include "scene/Settings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QAbstractButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace qz {

class TScene;
class TMessageEdit;
class TPreviewPanel;
class TExportPage;
class TForm2;
class TForm3;
class TForm4;
class TOpenShForm;
class TWebForm;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // programDir: the folder of Buttons.dat and the installation files; empty for the
  // folder of the executable.
  explicit TForm1(const std::string& programDir = {}, QWidget* parent = nullptr);
  ~TForm1() override;

  // --- The window's state (its fields, public as a form's are).
  TSettings Settings;  // folders, JobFile, TextureDir, TemplateFile (Buttons.dat)
  std::unique_ptr<TScene> Scene;
  TMessageText Text;   // the message as the build and the files read it
  TDeferredWork Deferred;
  bool Modified = false;
  TDimensions Dim;     // DimWidth, DimHeight, BaseWidth, BaseHeight
  bool RulersActive = true;
  TBitmap PreviewBitmap;  // the picture the preview shows
  uint64_t LastExportBytes = 0;  // size of the file the last export wrote

  // --- Operations other parts of the program call.
  void Rebuild();
  void RedrawPreview(bool smooth);
  void ShowPreview(bool smooth);
  void SceneToControls();
  void LoadTextTexture();
  void LoadButtonTexture();
  // Loads a work, template or factory design and refreshes the window.
  void LoadWork(const std::string& fileName);
  void TabSheet9Show();
  void PlaceLightMarker();
  void DropLightMarker(QPoint pointInPreview);
  // Sets BkgColor and colours the preview panel and the Dimensions picture frame.
  void SetBkgColor(TColor color);
  QString LinkAddress() const;  // the "Link " tab's address (read by the export)
  // Shows programDir + relative in the browser window (the About, Help and preview
  // pages), with the hourglass while the window takes it.
  void ShowPage(const std::string& relative);

  // The dialogs, each made on its first use and kept for the rest of the run, so
  // they remember what the user did in them (the welcome dialog's folder and mode).
  TForm2& AdvancedTextDialog();
  TForm3& AdvancedOptionsDialog();
  TForm4& WelcomeDialog();
  TOpenShForm& ShapeDialog();
  TWebForm& BrowserWindow();
  // The browser window when it has been made (its engine starts with it), else null.
  TWebForm* BrowserWindowIfMade() const { return web_; }

  // The start-up (welcome dialog and first load) has run.
  bool Started() const { return started_; }

  // Where message boxes go; tests put a collector here.
  void SetMessageSink(IMessageSink* sink);
  void ShowError(const std::string& text);

  // The widget of a control of the table (tests drive the window through these).
  QWidget* Control(TControl id) const { return controls_[static_cast<size_t>(id)]; }
  TMessageEdit* MessageEdit() const { return messageEdit_; }
  TPreviewPanel* Preview() const { return preview_; }
  QTabWidget* Tabs() const { return tabs_; }
  TExportPage* ExportPage() const { return exportPage_; }
  QLabel* DimensionPicture() const { return dimPicture_; }
  QString StatusText(int panel) const;
  QProgressBar* ProgressBar() const { return progressBar_; }

  // Runs the handler's follow-up from the control table: Modified when the control
  // marks, then (when due) the rebuild, render or deferred work it asks for.
  void FollowUp(TControl id, bool due = true);

 signals:
  void Rebuilt();  // a rebuild ran its build and render
  void Redrawn();  // a render ran and its preview is shown

 public slots:
  void AdvancedTextClick();     // "dvanced": the Advanced Text Settings dialog
  void SelectShapeClick();      // "elect Button Shape": the shape dialog
  void AdvancedOptionsClick();  // "&Advanced Options ...": the options dialog
  void NewClick();              // "&New": the factory design Default.dat
  void OpenClick();             // "&Open ...": the welcome dialog in its Saved mode
  void NewFromTemplateClick();  // "New from &template ...": the welcome dialog, Template mode
  void SaveClick();             // "&Save ...": a work or a template
  void HelpClick();             // "Hel&p ...": Help/index.html in the browser window
  void AboutClick();            // "&About Quenzar": HTML/About.html in the browser window
  void ExportClick();           // "xport 3D Button": the export page

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // Widget construction (MainWindowUi.cpp).
  void CreateUi();
  void CreateMenus();
  QWidget* CreateCaptionTab();
  QWidget* CreateBackgroundTab();
  QWidget* CreateColorTab(bool text);
  QWidget* CreateCaptionTuneupTab();
  QWidget* CreateButtonTuneupTab();
  QWidget* CreateLightTab();
  QWidget* CreateLinkTab();
  QWidget* CreateDimensionsTab();
  QWidget* CreateExportTab();
  QSlider* MakeSlider(TControl id, QWidget* parent);
  QSpinBox* MakeSpinner(TControl id, QWidget* parent);
  QCheckBox* MakeCheck(TControl id, const QString& caption, QWidget* parent);
  QAbstractButton* MakeCommand(TControl id, QChar initial, const QString& caption,
                               const QString& hint, QWidget* parent);
  void Register(TControl id, QWidget* w);
  void ConnectHandlers();

  void FormCreate();
  void FormDestroy();

  // Handlers of the editing controls (MainWindowEdits.cpp).
  void MessageEditChange();
  void FontSelectionClick();
  void BkgColorClick();
  void BkgSetHexClick();
  void SideColorClick(bool text);
  void SideTextureClick(bool text);
  void SideClearTextureClick(bool text);
  void SideTexWidthChange(bool text, int value);
  void SideTexHeightChange(bool text, int value);
  void SideConstrainClick(bool text, bool on);
  void OutlineComplexityChange(int index);
  void TextExtrusionChange(int value);
  void AltitudeChange(bool text, int value);
  void DropShadowClick(bool text, bool on);
  void ButtonExtrusionChange(int value);
  void HoldButtonSizeClick(bool on);
  void HideButtonClick(bool on);
  void LightColorClick();
  void BrightnessChange(int value);
  bool PickColor(TColor& color, const QString& title);
  bool ChooseTexture(std::string& fileName);

  // Dimensions tab (MainWindowDimensions.cpp).
  void WidthRulerChange(int position);
  void HeightRulerChange(int position);
  void DimEditChange(TSide side, const QString& text);
  void ApplyDimensionEdit(TSide side);
  void ShowDimensions();
  void DrawDimensionPreview();
  void TabChange(int index);
  static void AcceptDigitKeysOnly(QLineEdit* edit);

  // Project commands (MainWindowCommands.cpp).
  void StartUp();
  bool AskToSave(int command);
  // The folder the welcome dialog lists works from: JobFile's, or ProgramDir +
  // "Works/" (created) when that folder does not exist.
  std::string WorksFolderForDialog() const;
  void PreviewResized();
  int RDelayTicks() const;

  std::array<QWidget*, static_cast<size_t>(TControl::Count)> controls_{};
  TMessageEdit* messageEdit_ = nullptr;
  TPreviewPanel* preview_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  TExportPage* exportPage_ = nullptr;
  std::array<QLabel*, 4> statusPanels_{};
  QLineEdit* hexBox_ = nullptr;
  QLineEdit* linkEdit_ = nullptr;
  QLineEdit* widthEdit_ = nullptr;
  QLineEdit* heightEdit_ = nullptr;
  QSlider* widthRuler_ = nullptr;
  QSlider* heightRuler_ = nullptr;
  QCheckBox* dimConstrain_ = nullptr;
  QFrame* dimFrame_ = nullptr;
  QLabel* dimPicture_ = nullptr;
  QAction* statusBarAction_ = nullptr;
  QAction* progressBarAction_ = nullptr;
  QTimer* timer_ = nullptr;

  std::unique_ptr<TMessageBoxSink> messageBoxes_;
  std::unique_ptr<TStatusProgressSink> progress_;
  IMessageSink* messages_ = nullptr;
  bool rebuilding_ = false;  // RedrawPreview leaves the progress bar to the rebuild
  bool firstShow_ = true;
  bool started_ = false;
  TForm2* form2_ = nullptr;
  TForm3* form3_ = nullptr;
  TForm4* form4_ = nullptr;
  TOpenShForm* shapes_ = nullptr;
  TWebForm* web_ = nullptr;

  friend class TBusyScope;
};

}  // namespace qz
