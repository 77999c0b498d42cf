#pragma once
// The setup dialog "Configure Codes" (TConfigureForm): the options changed
// seldom, the characters of the lesson and the word filter. Modal, left only through
// OK, which writes every value it shows. It has its own handle on the settings store.
#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

#include "settings/SettingsStore.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace lumbrel {

class PageSpinBox;
class PracticeOptionsBox;
class RadioGroup;
class SendingSetupPage;

class ConfigureDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCharacterBoxes = 70;  // Tags 0..69; at most 64 are ever shown
    static constexpr int kLetterBoxes = 26;     // Tags 0..25: A..Z
    static constexpr int kTagCallback = 100;
    static constexpr int kTagMfj = 101;
    static constexpr int kTagRecent = 102;
    static constexpr int kTagMissed = 103;

    // FormCreate: reads "Session" into the session-length spinner.
    explicit ConfigureDialog(SettingsStore store, QWidget* parent = nullptr);
    ~ConfigureDialog() override;

    // What the main window calls.
    void LoadCharacterChecks(int count);
    void SetCharacterCaption(int tag, const QString& text);
    // The character count handed over by the opener before it shows the dialog.
    void SetCharacterCount(int count) { characterCount_ = count; }
    int CharacterCount() const { return characterCount_; }
    // The "Common Words" page's tab.
    void SetCommonWordsPageVisible(bool visible);
    bool CommonWordsPageVisible() const;
    // Minutes; the session engine reads it.
    int SessionLength() const;
    // Working copy of "Word Filter".
    std::uint32_t WordFilter() const { return wordFilter_; }

    // What the Define button opens (the define-characters dialog), modally.
    void SetDefineAction(std::function<void()> action) { defineAction_ = std::move(action); }

    // The controls, for the window's tests.
    QTabWidget* Pages() const { return pages_; }
    QPushButton* OkayButton() const { return okayButton_; }
    QCheckBox* CharacterBox(int tag) const { return characterBoxes_[static_cast<std::size_t>(tag)]; }
    QCheckBox* LetterBox(int tag) const { return letterBoxes_[static_cast<std::size_t>(tag)]; }
    QCheckBox* CallbackCheckBox() const { return callback_; }
    QCheckBox* MFJOrderCheckBox() const { return mfj_; }
    QCheckBox* RecentAdditionsCheckBox() const { return recent_; }
    QCheckBox* FavourMissedCheckBox() const { return missed_; }
    RadioGroup* StraightKeyFistRadioGroup() const { return fist_; }
    RadioGroup* SpeedDitherSize() const { return ditherSize_; }
    RadioGroup* EffectiveSpeedRadioGroup() const { return effective_; }
    RadioGroup* ComPortRadioGroup() const { return port_; }
    QComboBox* PortDeviceComboBox() const { return portDevice_; }
    RadioGroup* CommonWordsGroupBox() const { return wordsSize_; }
    QComboBox* MP3ComboBox() const { return mp3_; }
    QSpinBox* SessionLengthSpinEdit() const;
    QSpinBox* StartingPauseSpinEdit() const;
    QSpinBox* WordLengthSpinEdit() const;
    QPushButton* UncheckButton() const { return uncheck_; }
    QPushButton* CheckButton() const { return check_; }
    QPushButton* DefineButton() const { return define_; }
    QPushButton* CommonWordsUncheckAllButton() const { return wordsUncheck_; }
    QPushButton* CommonWordsCheckAllButton() const { return wordsCheck_; }
    PracticeOptionsBox* PracticeOptions() const { return practice_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

public Q_SLOTS:
    // Escape and the window manager's close do nothing: OK is the only way out.
    void reject() override;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildCharacterPage();
    QWidget* BuildWordsPage();

    void FormShow();
    void FitToContents();
    void OkayButtonClick();
    void SetCharacterBoxes(bool checked);
    void SetLetterBoxes(bool checked);
    void LetterBoxClick(int tag, bool checked);
    int Mp3Index() const;

    SettingsStore store_;
    int characterCount_ = 0;
    std::uint32_t wordFilter_ = 0x3FFFFFF;
    std::function<void()> defineAction_;

    QTabWidget* pages_ = nullptr;
    QPushButton* okayButton_ = nullptr;
    RadioGroup* fist_ = nullptr;
    RadioGroup* ditherSize_ = nullptr;
    QComboBox* mp3_ = nullptr;
    RadioGroup* effective_ = nullptr;
    QCheckBox* mfj_ = nullptr;
    QCheckBox* recent_ = nullptr;
    QCheckBox* missed_ = nullptr;
    RadioGroup* port_ = nullptr;
    QComboBox* portDevice_ = nullptr;
    PageSpinBox* sessionLength_ = nullptr;
    PageSpinBox* pause_ = nullptr;
    QCheckBox* callback_ = nullptr;
    std::array<QCheckBox*, kCharacterBoxes> characterBoxes_{};
    QGridLayout* characterGrid_ = nullptr;
    QPushButton* uncheck_ = nullptr;
    QPushButton* check_ = nullptr;
    QPushButton* define_ = nullptr;
    std::array<QCheckBox*, kLetterBoxes> letterBoxes_{};
    QPushButton* wordsUncheck_ = nullptr;
    QPushButton* wordsCheck_ = nullptr;
    RadioGroup* wordsSize_ = nullptr;
    PageSpinBox* wordLength_ = nullptr;
    QWidget* wordsPage_ = nullptr;
    PracticeOptionsBox* practice_ = nullptr;
    SendingSetupPage* sending_ = nullptr;  // "Sending"
};

}  // namespace lumbrel
