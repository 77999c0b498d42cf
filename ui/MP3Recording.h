#pragma once
// The MP3 help window (TMP3RecordingForm): how to make MP3 recording available
// (the LAME encoder library, installed separately).
#include <QDialog>

#include <memory>

namespace Ui {
class MP3RecordingForm;
}

namespace lumbrel {

class MP3RecordingDialog final : public QDialog {
    Q_OBJECT
public:
    explicit MP3RecordingDialog(QWidget* parent = nullptr);
    ~MP3RecordingDialog() override;

private:
    std::unique_ptr<Ui::MP3RecordingForm> ui_;
};

}  // namespace lumbrel
