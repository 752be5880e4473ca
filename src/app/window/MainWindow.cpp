// The main window's life: creation and destruction (settings, session, controls), the
// 250 ms timer and loading a design. The commands are in MainWindowCommands.cpp.
#include "app/window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

#include "app/widgets/MessageEdit.h"
#include "app/window/DesignControls.h"
#include "app/window/EditHistory.h"
#include "app/window/PreviewPanel.h"
#include "base/XdgDirs.h"

namespace qz {

namespace {

// A delay read from a work is used as a number of ticks; beyond this the user would
// wait minutes for an edit to show.
constexpr int MaxRDelayTicks = 100;

}  // namespace

TMainWindow::TMainWindow(const std::string& programDir, QWidget* parent)
    : TMainWindow(programDir.empty() ? TFolders::ForExecutable(ExecutableFolder())
                                     : TFolders::InProgramFolder(programDir),
                  parent) {}

TMainWindow::TMainWindow(const TFolders& folders, QWidget* parent)
    : QMainWindow(parent),
      Deferred({[this] { Rebuild(); }, [this] { RedrawPreview(true); },
                [this] {
                  progressBar_->setValue(0);
                  statusPanels_[3]->clear();
                }}) {
  CreateUi();
  messageBoxes_ = std::make_unique<TMessageBoxSink>(this);
  progress_ = std::make_unique<TStatusProgressSink>(statusPanels_[3], progressBar_);
  messages_ = messageBoxes_.get();
  sessionMessages_ = std::make_unique<TWindowMessages>(messages_, noticePanel_);
  // Folders and settings, then the design with its defaults.
  Settings.Read(folders);
  Session = std::make_unique<TDesignSession>(folders, *sessionMessages_, *progress_);
  MessageEdit()->SetDefaultFormat(TCharFormat{});
  // The tabs' value controls wired to the design's edits, and showing it; the light
  // marker placed, hidden until its tab shows.
  controls_ = new TDesignControls(*tabs_, *Session, [this](TControl id, const TEditResult& r) { FollowUp(id, r); }, this);
  DesignToControls();
  PlaceLightMarker();
  preview_->Marker()->setEnabled(false);
  preview_->Marker()->hide();
  progressBar_->setValue(0);

  CreateEditorParts();
  ConnectHandlers();
  timer_ = new QTimer(this);
  timer_->setInterval(250);
  connect(timer_, &QTimer::timeout, this, [this] {
    Deferred.Tick();
    history_->Tick(RDelayTicks());
  });
  timer_->start();
}

TMainWindow::~TMainWindow() {
  if (timer_) timer_->stop();
  // The controls outlive the session by a moment: none may reach it any more.
  Session->OnHistoryChange = nullptr;
  for (int i = 0; i < static_cast<int>(TControl::Count); ++i)
    if (QWidget* c = Control(static_cast<TControl>(i))) c->disconnect(this);
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
  Session.reset();
}

void TMainWindow::SetMessageSink(IMessageSink* sink) {
  messages_ = sink ? sink : messageBoxes_.get();
  sessionMessages_->Messages = messages_;
}

void TMainWindow::ShowError(const std::string& text) { messages_->ShowMessage(text); }

bool TMainWindow::Try(const std::function<void()>& operation) {
  try {
    operation();
    return true;
  } catch (const std::exception& e) {
    ShowError(e.what());
    return false;
  }
}

QString TMainWindow::StatusText(int panel) const {
  return panel >= 0 && panel < 4 ? statusPanels_[panel]->text() : QString();
}

QString TMainWindow::NoticeText() const { return noticePanel_->text(); }

int TMainWindow::RDelayTicks() const { return std::clamp(Session->Params().RDelay, 0, MaxRDelayTicks); }

bool TMainWindow::LoadWork(const std::string& fileName) {
  noticePanel_->clear();
  const bool loaded = Session->Open(fileName);
  ShowDesign();
  return loaded;
}

}  // namespace qz
