#include "app/FontChooser.h"

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
  Faces = new QListWidget(this);
  for (const std::string& face : faces) Faces->addItem(QString::fromStdString(face));
  Faces->setMinimumSize(260, 240);
  Size = new QSpinBox(this);
  Size->setRange(1, MaxChooserSize);
  Bold = new QCheckBox("Bold", this);
  Italic = new QCheckBox("Italic", this);
  Underline = new QCheckBox("Underline", this);
  Sample = new QLabel("AaBbYyZz", this);
  Sample->setMinimumSize(260, 80);
  Sample->setAlignment(Qt::AlignCenter);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Font", this), 0, 0);
  grid->addWidget(Faces, 1, 0, 5, 1);
  grid->addWidget(new QLabel("Size", this), 0, 1);
  grid->addWidget(Size, 1, 1);
  grid->addWidget(Bold, 2, 1);
  grid->addWidget(Italic, 3, 1);
  grid->addWidget(Underline, 4, 1);
  grid->addWidget(Sample, 6, 0, 1, 2);
  grid->addWidget(buttons, 7, 0, 1, 2);

  connect(Faces, &QListWidget::currentRowChanged, this, &TFontChooser::ShowSample);
  connect(Size, &QSpinBox::valueChanged, this, &TFontChooser::ShowSample);
  for (QCheckBox* c : {Bold, Italic, Underline}) connect(c, &QCheckBox::toggled, this, &TFontChooser::ShowSample);
}

void TFontChooser::SetFormat(const TCharFormat& format) {
  format_ = format;
  const TFaceChoice face = TFontEngine::ResolveFace(format.Name, format.Bold, format.Italic,
                                                    static_cast<uint8_t>(std::clamp(format.Charset, 0, 255)));
  const QString family = QString::fromStdString(face.Found ? face.Family : format.Name);
  const auto found = Faces->findItems(family, Qt::MatchExactly);
  Faces->setCurrentItem(found.isEmpty() ? nullptr : found.first());
  if (!found.isEmpty()) Faces->scrollToItem(found.first());
  Size->setValue(std::clamp(format.Size, 1, MaxChooserSize));
  Bold->setChecked(format.Bold);
  Italic->setChecked(format.Italic);
  Underline->setChecked(format.Underline);
  ShowSample();
}

TCharFormat TFontChooser::Format() const {
  TCharFormat f = format_;
  if (Faces->currentItem()) f.Name = Faces->currentItem()->text().toStdString();
  f.Size = Size->value();
  f.Bold = Bold->isChecked();
  f.Italic = Italic->isChecked();
  f.Underline = Underline->isChecked();
  return f;
}

void TFontChooser::ShowSample() {
  const TCharFormat f = Format();
  QFont font(QString::fromStdString(f.Name));
  font.setPointSize(std::min(f.Size, 48));
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  Sample->setFont(font);
}

}  // namespace qz
