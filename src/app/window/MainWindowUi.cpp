// The widgets of the main window: preview, progress bar, the ten tabs (DesignerTabs.h),
// status bar and menus, and what a desktop editor has besides (undo and redo, recent
// works, file drops).
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/export/ExportPage.h"
#include "app/files/FileDrops.h"
#include "app/files/RecentMenu.h"
#include "app/widgets/MessageEdit.h"
#include "app/window/EditHistory.h"
#include "app/window/MainWindow.h"
#include "app/window/PreviewPanel.h"

namespace qz {

void TMainWindow::CreateUi() {
  setWindowTitle("Quenzar");
  setWindowIcon(QIcon(LightMarkerPicture()));
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(4, 4, 4, 0);
  v->setSpacing(2);

  preview_ = new TPreviewPanel(central);
  preview_->setObjectName("previewPanel");
  v->addWidget(preview_, 1);

  progressBar_ = new QProgressBar(central);
  progressBar_->setObjectName("progressBar");
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->setFixedHeight(8);
  v->addWidget(progressBar_);

  tabs_ = new TDesignerTabs(central);
  tabs_->Register(TControl::LightMarker, preview_->Marker());
  // The " Image Dimensions " boxes show the export size whenever the page is shown.
  ExportPage()->DimensionsSource = [this] { return QSize(Session->ExportSize().width, Session->ExportSize().height); };
  connect(ExportPage(), &TExportPage::ExportRequested, this, &TMainWindow::ExportClick);
  v->addWidget(tabs_);
  setCentralWidget(central);

  // Status bar: vertices, faces, memory (centred), the progress text, then notices.
  static constexpr int Widths[4] = {64, 64, 64, 256};
  for (int i = 0; i < 4; ++i) {
    auto* panel = new QLabel(this);
    panel->setFixedWidth(Widths[i]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    if (i < 3) panel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(panel);
    statusPanels_[i] = panel;
  }
  // Notices take the rest of the bar and stay until the next one or the next design.
  noticePanel_ = new QLabel(this);
  statusBar()->addWidget(noticePanel_, 1);
  statusBar()->setSizeGripEnabled(true);
  // Small enough for any screen, large enough that the preview keeps room to drag the
  // light marker in and the tabs show their controls whole.
  setMinimumSize(MinimumWindowWidth, MinimumWindowHeight);
  CreateMenus();
}

void TMainWindow::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&New", this, &TMainWindow::NewClick);
  file->addAction("New from &template ...", this, &TMainWindow::NewFromTemplateClick);
  file->addAction("&Open ...", this, &TMainWindow::OpenClick);
  auto* recent = new TRecentMenu(Settings.Recent, file);
  file->addMenu(recent);
  connect(recent, &TRecentMenu::Chosen, this, &TMainWindow::OpenRecentFile);
  file->addAction("&Save ...", QKeySequence("Ctrl+S"), this, &TMainWindow::SaveClick);
  file->addSeparator();
  file->addAction("E&xit", this, &QWidget::close);

  QMenu* settings = menuBar()->addMenu("&Settings");
  settings->addAction("&Advanced Options ...", this, &TMainWindow::AdvancedOptionsClick);
  QMenu* view = settings->addMenu("&View");
  QAction* statusBarShown = view->addAction("Status Bar");
  statusBarShown->setCheckable(true);
  statusBarShown->setChecked(true);
  connect(statusBarShown, &QAction::toggled, statusBar(), &QWidget::setVisible);
  QAction* progressBarShown = view->addAction("&Progress Bar");
  progressBarShown->setCheckable(true);
  progressBarShown->setChecked(true);
  connect(progressBarShown, &QAction::toggled, progressBar_, &QWidget::setVisible);

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("Hel&p ...", this, &TMainWindow::HelpClick);
  help->addAction("&About Quenzar", this, &TMainWindow::AboutClick);
}

void TMainWindow::CreateEditorParts() {
  history_ = new TEditHistory(*Session, this);
  // The session owns unsaved, can-undo and can-redo; the window shows them.
  Session->OnHistoryChange = [this] {
    history_->ShowState();
    setWindowModified(Modified());
  };
  connect(history_->UndoAction, &QAction::triggered, this, &TMainWindow::UndoClick);
  connect(history_->RedoAction, &QAction::triggered, this, &TMainWindow::RedoClick);
  // The message box's own undo would undo its text alone, beside the design's.
  MessageEdit()->setUndoRedoEnabled(false);
  history_->TakeUndoKeys(MessageEdit());
  auto* edit = new QMenu("&Edit", this);
  edit->addAction(history_->UndoAction);
  edit->addAction(history_->RedoAction);
  edit->addSeparator();
  edit->addAction("&Copy Picture", QKeySequence("Ctrl+Shift+C"), this, &TMainWindow::CopyPictureClick);
  menuBar()->insertMenu(menuBar()->actions().value(1), edit);  // after "&File"

  auto* drops = new TFileDrops(this, preview_);
  connect(drops, &TFileDrops::WorkDropped, this, &TMainWindow::OpenDesignFile);
  connect(drops, &TFileDrops::TextureDropped, this, &TMainWindow::UseDroppedTexture);
  ShowTitle();
}

}  // namespace qz
