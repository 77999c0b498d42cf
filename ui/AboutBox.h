#pragma once
// The about box (TAboutForm): version, the Koch method, a web link, the
// contact line and the MP3 help button. Fixed size, modal, centred.
#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace Ui {
class AboutForm;
}

namespace lumbrel {

// "Version %d.%d.%d" from a version "a.b.c[.d]": the first three numbers, each taken
// as a signed 16-bit value (65535 shows as -1); missing numbers count as 0.
QString VersionText(const QString& version);

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    // The program's web address, without the scheme.
    static const char* const kWebAddress;

    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

    // Button1 ("MP3 Recording") runs this: opens the MP3 help dialog modally.
    void SetMp3HelpAction(std::function<void()> action) { mp3Help_ = std::move(action); }
    // Label4Click: "http://" followed by the link's caption (the address).
    QUrl LinkAddress() const;

    Ui::AboutForm& Form() { return *ui_; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The link's blue and the contact picture's, readable on the current palette.
    void ApplyPaletteColours();

    std::unique_ptr<Ui::AboutForm> ui_;
    std::function<void()> mp3Help_;
};

}  // namespace lumbrel
