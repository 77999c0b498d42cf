#include "ui/MP3Recording.h"

#include "ui/ControlWidgets.h"
#include "ui_MP3Recording.h"

namespace lumbrel {

MP3RecordingDialog::MP3RecordingDialog(QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::MP3RecordingForm>()) {
    ui_->setupUi(this);
    GrowDesignedFonts(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MP3RecordingDialog::~MP3RecordingDialog() = default;

}  // namespace lumbrel
