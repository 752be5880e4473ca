// The main window's life: creation and destruction (settings, scene, controls), the
// 250 ms timer and loading a design. The commands are in MainWindowCommands.cpp.
#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "app/MessageEdit.h"
#include "app/PreviewPanel.h"
#include "app/ProjectCommands.h"
#include "app/QtBridge.h"
#include "platform/FileUtil.h"
#include "scene/Scene.h"
#include "scene/TextureFiles.h"
#include "scene/WorkFile.h"

namespace qz {

namespace {

// A delay read from a work is used as a number of ticks; beyond this the user would
// wait minutes for an edit to show.
constexpr int MaxRDelayTicks = 100;

}  // namespace

TForm1::TForm1(const std::string& programDir, QWidget* parent)
    : QMainWindow(parent),
      Deferred({[this] { Rebuild(); }, [this] { RedrawPreview(true); },
                [this] { return Scene->View.TextTextured; }, [this] { return Scene->View.ButtonTextured; },
                [this] { LoadTextTexture(); }, [this] { LoadButtonTexture(); },
                [this] {
                  progressBar_->setValue(0);
                  statusPanels_[3]->clear();
                }}) {
  CreateUi();
  messageBoxes_ = std::make_unique<TMessageBoxSink>(this);
  progress_ = std::make_unique<TStatusProgressSink>(statusPanels_[3], progressBar_);
  messages_ = messageBoxes_.get();
  Settings.ProgramDir = programDir.empty() ? TSettings::ExecutableDir() : programDir;
  FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::FormCreate() {
  // 1. Folders and settings.
  Settings.Read(Settings.ProgramDir);
  // 2. The design with its defaults.
  Scene = std::make_unique<TScene>();
  Scene->ProgramDir = Settings.ProgramDir;
  Scene->Messages = messages_;
  Scene->Progress = progress_.get();
  // 3. Preview colour, message box, hex box.
  SetBkgColor(Scene->BkgColor);
  messageEdit_->SetDefaultFormat(TCharFormat{});
  // 4. Deferred work idle, design unmodified.
  Deferred.DelayTicks = Deferred.ProgressTicks = 0;
  Deferred.RebuildPending = Deferred.RenderPending = Deferred.TexturePending = false;
  Deferred.ProgressPending = false;
  Modified = false;
  // 5. Controls from the design; the light marker placed, hidden until its tab shows.
  SceneToControls();
  PlaceLightMarker();
  preview_->Marker()->setEnabled(false);
  preview_->Marker()->hide();
  // 7. The export size starts as the render image's size.
  Dim = {Scene->Image.Width(), Scene->Image.Height(), Scene->Image.Width(), Scene->Image.Height()};
  progressBar_->setValue(0);

  ConnectHandlers();
  timer_ = new QTimer(this);
  timer_->setInterval(250);
  connect(timer_, &QTimer::timeout, this, [this] { Deferred.Tick(); });
  timer_->start();
}

void TForm1::FormDestroy() {
  if (timer_) timer_->stop();
  // The controls outlive the scene by a moment: none may reach it any more.
  for (QWidget* c : controls_)
    if (c) c->disconnect(this);
  preview_->disconnect(this);
  tabs_->disconnect(this);
  // Writing the settings must never end the program: a folder that cannot be
  // written (read-only installation) is reported and the exit goes on.
  try {
    Settings.Write();
  } catch (const std::exception& e) {
    ShowError(std::string("The settings could not be saved: ") + e.what());
  } catch (...) {
  }
  Scene.reset();
}

void TForm1::SetMessageSink(IMessageSink* sink) {
  messages_ = sink ? sink : messageBoxes_.get();
  if (Scene) Scene->Messages = messages_;
}

void TForm1::ShowError(const std::string& text) { messages_->ShowMessage(text); }

QString TForm1::StatusText(int panel) const {
  return panel >= 0 && panel < 4 ? statusPanels_[panel]->text() : QString();
}

int TForm1::RDelayTicks() const { return std::clamp(Scene->RDelay, 0, MaxRDelayTicks); }

void TForm1::LoadTextTexture() { ::qz::LoadTextTexture(*Scene, Settings.TexturesDir); }
void TForm1::LoadButtonTexture() { ::qz::LoadButtonTexture(*Scene, Settings.TexturesDir); }

void TForm1::LoadWork(const std::string& fileName) {
  // The factory designs are named in any case on other systems: look without case.
  std::string path = fileName;
  if (!FileExists(path)) {
    if (auto found = FindFileNoCase(FolderOf(path), BareFileName(path))) path = *found;
  }
  if (Scene->LoadFromFile(path, Text)) RefreshDerived(*Scene);
  LoadButtonTexture();
  LoadTextTexture();
  SceneToControls();
  Scene->BuildRamp(0);
  Scene->BuildRamp(1);
  SetBkgColor(Scene->BkgColor);
  PlaceLightMarker();
  Rebuild();
}

}  // namespace qz
