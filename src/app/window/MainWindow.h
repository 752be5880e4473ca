// TMainWindow: the designer's main window. The preview of the button fills its upper
// part; below it, ten tabs lead through the steps "A." to "N.". The window is the
// skin of the design session it holds (session/DesignSession.h): every handler reads
// its control and calls the session's edit named for what the user did; the session
// applies the design's rules, records the undo step and says what follows, which
// FollowUp runs when the control table says (ControlTable.h): at once, or once the
// user pauses (DeferredWork.h, the 250 ms timer).
//
// The window holds no design rule and no algorithm: building, rendering, the preview
// scaling, the export size, the export and the save are the session's; the mapping of
// the rulers and the light marker onto the preview are plain functions (Dimensions.h),
// the hex colours too (HexColor.h). What a desktop editor offers besides has classes of
// its own: undo and redo (EditHistory.h, on the session's history), File -> Open
// Recent (app/files/RecentMenu.h), files dropped on the window (app/files/FileDrops.h),
// Edit -> Copy Picture (app/export/CopyPicture.h). The title names the design's file,
// with "*" while it has unsaved changes.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/bridge/GuiSinks.h"
#include "app/files/ProjectCommands.h"
#include "app/window/ControlTable.h"
#include "app/window/DeferredWork.h"
#include "app/window/DesignerTabs.h"
#include "app/window/Dimensions.h"
#include "scene/Settings.h"
#include "session/DesignSession.h"

class QAction;
class QLabel;
class QProgressBar;
class QTimer;

namespace qz {

class TDesignControls;
class TEditHistory;
class TMessageEdit;
class TPreviewPanel;
class TExportPage;
class TTextDialog;
class TOptionsDialog;
class TWelcomeDialog;
class TShapeDialog;
class TBrowserWindow;

class TMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int MinimumWindowWidth = 800;
  static constexpr int MinimumWindowHeight = 560;

  // folders: where the factory files are and the user's go (scene/Folders.h).
  explicit TMainWindow(const TFolders& folders, QWidget* parent = nullptr);
  // programDir: the folder of Buttons.dat and the installation files; empty for the
  // layout of the executable's own folder.
  explicit TMainWindow(const std::string& programDir = {}, QWidget* parent = nullptr);
  ~TMainWindow() override;

  // --- The window's state (public: the busy guard, the dialogs' callers and the tests
  // read and set it).
  TSettings Settings;  // folders, JobFile, TextureDir, TemplateFile (Buttons.dat)
  std::unique_ptr<TDesignSession> Session;  // the design, what is built from it, its pictures
  TDeferredWork Deferred;
  // The work or template the design was last opened from or saved to; empty for a
  // factory design ("Untitled").
  std::string DesignFile;

  // --- Operations other parts of the program call.
  void Rebuild();
  void RedrawPreview(bool smooth);
  void ShowPreview(bool smooth);
  // Every editing control shows the design as it stands.
  void DesignToControls();
  // Opens a work (as saved), or a template or factory design (a new design begun from
  // it), and shows it. False when the file was refused (the design shown is the one
  // before).
  bool LoadWork(const std::string& fileName);
  // The design has changes not saved (the title's "*").
  bool Modified() const { return Session->Unsaved(); }
  void ShowDimensionsTab();
  void PlaceLightMarker();
  void DropLightMarker(QPoint pointInPreview);
  // The preview panel and the Dimensions picture frame in the design's background.
  void ShowBackground();
  QString LinkAddress() const;  // the "Link " tab's address (read by the export)
  // Shows a page file in the browser window (the About, Help and preview pages), with
  // the wait cursor while the window takes it.
  void ShowPage(const std::string& path);

  // The dialogs, each made on its first use and kept for the rest of the run, so
  // they remember what the user did in them (the welcome dialog's folder and mode).
  TTextDialog& AdvancedTextDialog();
  TOptionsDialog& AdvancedOptionsDialog();
  TWelcomeDialog& WelcomeDialog();
  TShapeDialog& ShapeDialog();
  TBrowserWindow& BrowserWindow();
  // The browser window when it has been made (its engine starts with it), else null.
  TBrowserWindow* BrowserWindowIfMade() const { return browserWindow_; }

  // The start-up (welcome dialog and first load) has run.
  bool Started() const { return started_; }

  // Where message boxes go; tests put a collector here.
  void SetMessageSink(IMessageSink* sink);
  void ShowError(const std::string& text);

  // The widget of a control of the table (tests drive the window through these).
  QWidget* Control(TControl id) const { return tabs_->Control(id); }
  TMessageEdit* MessageEdit() const { return tabs_->MessageEdit; }
  TPreviewPanel* Preview() const { return preview_; }
  QTabWidget* Tabs() const { return tabs_; }
  TExportPage* ExportPage() const { return tabs_->ExportPage; }
  TEditHistory* History() const { return history_; }
  QString StatusText(int panel) const;
  // The last notice of the session (a letter drawn from a fallback font), shown in
  // the status bar after the four panels.
  QString NoticeText() const;
  QProgressBar* ProgressBar() const { return progressBar_; }

  // Runs what an edit of control id asks for (a rebuild or a render), at once or when
  // the control table says, and shows whether the design is unsaved.
  void FollowUp(TControl id, const TEditResult& edit);

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
  void UndoClick();             // "&Undo": one step of the design back
  void RedoClick();             // "&Redo": and forward again
  void CopyPictureClick();      // "&Copy Picture": the export picture on the clipboard
  // A work or template opened from File -> Open Recent or dropped on the window, after
  // the question about unsaved changes; a recent file that has gone is taken off.
  void OpenDesignFile(const QString& path);
  void OpenRecentFile(const QString& path);
  // A picture dropped on the preview as the letters' (text) or button's texture.
  void UseDroppedTexture(const QString& path, bool text);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // Widget construction (MainWindowUi.cpp).
  void CreateUi();
  void CreateMenus();
  void ConnectHandlers();
  // The Edit menu with undo, redo and Copy Picture, and the file drops (they need the
  // session).
  void CreateEditorParts();

  // Handlers of the editing controls (MainWindowEdits.cpp).
  void MessageEditChange();
  void FontSelectionClick();
  void BkgColorClick();
  void BkgSetHexClick();
  void SideColorClick(TPart part);
  void SideTextureClick(TPart part);
  void LightColorClick();
  bool PickColor(TColor& color, const QString& title);
  bool ChooseTexture(std::string& fileName);

  // The light marker shows on its tab only; the Dimensions tab shows the export size.
  void TabChange(int index);

  // Project commands (MainWindowCommands.cpp).
  void StartUp();
  // After a command loaded path (empty: a factory design): the title names it, the
  // recent works list it, nothing is unsaved. A refused load changes none of these.
  void Opened(const std::string& path, bool loaded);
  void ShowTitle();
  // Shows the design the session holds now (opened, or put back by the history):
  // controls, light, rebuild, dimensions.
  void ShowDesign();
  // Carries out an edit whose work still waits for the timer, so what is exported or
  // copied is what the user sees; false while a build runs.
  bool FinishPendingEdits();
  // Gives the welcome dialog its folders before a showing.
  void PrepareWelcome(TWelcomeDialog& welcome);
  bool AskToSave(TProjectCommand command);
  // Runs the welcome dialog in mode under title; false when it was cancelled.
  bool RunWelcome(int mode, const char* title);
  // The folder the welcome dialog lists works from: JobFile's, or the default works
  // folder (created) when that folder does not exist.
  std::string WorksFolderForDialog() const;
  void PreviewResized();
  int RDelayTicks() const;
  // Runs a core operation, showing the error it throws; false when it threw.
  bool Try(const std::function<void()>& operation);
  // Runs a render (or a rebuild, which renders) while busy, then shows the preview and
  // the status bar's counts; a failure is shown and the progress cleared. True when
  // it rendered.
  bool Rendered(const std::function<void()>& render, bool smooth = true);

  TDesignerTabs* tabs_ = nullptr;
  TPreviewPanel* preview_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  std::array<QLabel*, 4> statusPanels_{};
  QLabel* noticePanel_ = nullptr;
  QTimer* timer_ = nullptr;

  std::unique_ptr<TMessageBoxSink> messageBoxes_;
  std::unique_ptr<TWindowMessages> sessionMessages_;  // the session's: messages_, notices in the status bar
  std::unique_ptr<TStatusProgressSink> progress_;
  IMessageSink* messages_ = nullptr;
  bool firstShow_ = true;
  bool started_ = false;
  TTextDialog* textDialog_ = nullptr;
  TOptionsDialog* optionsDialog_ = nullptr;
  TWelcomeDialog* welcomeDialog_ = nullptr;
  TShapeDialog* shapeDialog_ = nullptr;
  TBrowserWindow* browserWindow_ = nullptr;
  TEditHistory* history_ = nullptr;
  TDesignControls* controls_ = nullptr;  // the tabs' value controls, wired to the session
};

// While it lives: the window is busy (the timer leaves its work for a later tick,
// rebuild and render requests wait), and the wait cursor shows. Nests.
class TBusyScope {
 public:
  explicit TBusyScope(TMainWindow& window);
  ~TBusyScope();
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  TMainWindow& window_;
  bool wasBusy_;
};

}  // namespace qz
