#include "app/dialogs/FontChooser.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

#include "text/FontEngine.h"

namespace qz {

namespace {

constexpr int MaxChooserSize = 400;  // points; a message box shows no larger characters

}  // namespace

TFontChooser::TFontChooser(const std::vector<std::string>& faces, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Font");
  FaceList = new QListWidget(this);
  for (const std::string& face : faces) FaceList->addItem(QString::fromStdString(face));
  FaceList->setMinimumSize(260, 240);
  SizeSpinner = new QSpinBox(this);
  SizeSpinner->setRange(1, MaxChooserSize);
  BoldCheck = new QCheckBox("Bold", this);
  ItalicCheck = new QCheckBox("Italic", this);
  UnderlineCheck = new QCheckBox("Underline", this);
  SampleLabel = new QLabel("AaBbYyZz", this);
  SampleLabel->setMinimumSize(260, 80);
  SampleLabel->setAlignment(Qt::AlignCenter);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Font", this), 0, 0);
  grid->addWidget(FaceList, 1, 0, 5, 1);
  grid->addWidget(new QLabel("Size", this), 0, 1);
  grid->addWidget(SizeSpinner, 1, 1);
  grid->addWidget(BoldCheck, 2, 1);
  grid->addWidget(ItalicCheck, 3, 1);
  grid->addWidget(UnderlineCheck, 4, 1);
  grid->addWidget(SampleLabel, 6, 0, 1, 2);
  grid->addWidget(buttons, 7, 0, 1, 2);

  connect(FaceList, &QListWidget::currentRowChanged, this, &TFontChooser::ShowSample);
  connect(SizeSpinner, &QSpinBox::valueChanged, this, &TFontChooser::ShowSample);
  for (QCheckBox* c : {BoldCheck, ItalicCheck, UnderlineCheck})
    connect(c, &QCheckBox::toggled, this, &TFontChooser::ShowSample);
}

void TFontChooser::SetFormat(const TCharFormat& format) {
  format_ = format;
  const TFaceChoice face = TFontEngine::ResolveFace(format.Name, format.Bold, format.Italic,
                                                    static_cast<uint8_t>(std::clamp(format.Charset, 0, 255)));
  const QString family = QString::fromStdString(face.Found ? face.Family : format.Name);
  const auto found = FaceList->findItems(family, Qt::MatchExactly);
  FaceList->setCurrentItem(found.isEmpty() ? nullptr : found.first());
  if (!found.isEmpty()) FaceList->scrollToItem(found.first());
  SizeSpinner->setValue(std::clamp(format.Size, 1, MaxChooserSize));
  BoldCheck->setChecked(format.Bold);
  ItalicCheck->setChecked(format.Italic);
  UnderlineCheck->setChecked(format.Underline);
  ShowSample();
}

TCharFormat TFontChooser::Format() const {
  TCharFormat f = format_;
  if (FaceList->currentItem()) f.Name = FaceList->currentItem()->text().toStdString();
  f.Size = SizeSpinner->value();
  f.Bold = BoldCheck->isChecked();
  f.Italic = ItalicCheck->isChecked();
  f.Underline = UnderlineCheck->isChecked();
  return f;
}

void TFontChooser::ShowSample() {
  const TCharFormat f = Format();
  QFont font(QString::fromStdString(f.Name));
  font.setPointSize(std::min(f.Size, 48));
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  SampleLabel->setFont(font);
}

}  // namespace qz
