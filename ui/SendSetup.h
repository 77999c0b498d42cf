#pragma once
// Setup's "Sending" page: the keyer, the sidetone's volume, the keys of the keyboard
// (each set by pressing it), the serial or MIDI key and whether the key also keys the
// rig. Read when Setup shows, written by its OK.
#include <QWidget>

#include <array>

#include "sending/SendingOptions.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace lumbrel {

class SendingSetupPage final : public QWidget {
    Q_OBJECT
public:
    explicit SendingSetupPage(QWidget* parent = nullptr);

    void Load(const SettingsStore& store);
    void Save(SettingsStore& store) const;
    SendingOptions Options() const;

    QComboBox* ModeBox() const { return mode_; }
    QSpinBox* SpeedBox() const { return speed_; }
    QPushButton* KeyButton(KeyContact contact) const { return keys_[static_cast<int>(contact)]; }
    QLabel* MidiNote() const { return midiNote_; }
    QCheckBox* KeyRigBox() const { return keyRig_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowKey(KeyContact contact);

    QComboBox* mode_ = nullptr;
    QSpinBox* speed_ = nullptr;
    QSpinBox* weight_ = nullptr;
    QSpinBox* ratio_ = nullptr;
    QCheckBox* memory_ = nullptr;
    QSpinBox* volume_ = nullptr;
    std::array<QPushButton*, 3> keys_{};
    std::array<std::uint32_t, 3> codes_{};
    QComboBox* serial_ = nullptr;
    QCheckBox* midi_ = nullptr;
    QComboBox* midiPort_ = nullptr;
    QLabel* midiNote_ = nullptr;
    QCheckBox* keyRig_ = nullptr;
};

}  // namespace lumbrel
