#pragma once
// The setup dialog's "Practice" box: whether a new character is introduced alone, and
// the length of the random groups (one to eight as always, five, or a range).
#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace lumbrel {

class SettingsStore;

class PracticeOptionsBox final : public QGroupBox {
    Q_OBJECT
public:
    explicit PracticeOptionsBox(QWidget* parent = nullptr);

    void Load(const SettingsStore& store);
    void Save(SettingsStore& store) const;

    QCheckBox* IntroduceCheckBox() const { return introduce_; }
    QComboBox* GroupLengthComboBox() const { return length_; }
    QSpinBox* MinimumSpinBox() const { return min_; }
    QSpinBox* MaximumSpinBox() const { return max_; }

private:
    void FollowChoice();

    QCheckBox* introduce_ = nullptr;
    QComboBox* length_ = nullptr;
    QSpinBox* min_ = nullptr;
    QSpinBox* max_ = nullptr;
};

}  // namespace lumbrel
