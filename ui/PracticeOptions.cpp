#include "ui/PracticeOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "session/SessionOpening.h"
#include "settings/SettingsStore.h"

namespace lumbrel {

PracticeOptionsBox::PracticeOptionsBox(QWidget* parent) : QGroupBox(tr("Practice"), parent) {
    setObjectName(QStringLiteral("PracticeGroupBox"));
    introduce_ = new QCheckBox(tr("Introduce a new character"), this);
    introduce_->setObjectName(QStringLiteral("IntroduceCheckBox"));
    introduce_->setToolTip(
        tr("After the number of characters rose, the next session first plays the "
           "new character five times on its own, shown large."));
    length_ = new QComboBox(this);
    length_->setObjectName(QStringLiteral("GroupLengthComboBox"));
    length_->addItems({tr("1 to 8 characters"), tr("Fixed at 5"), tr("A range")});
    auto* label = new QLabel(tr("&Group length:"), this);
    label->setBuddy(length_);
    min_ = new QSpinBox(this);
    min_->setObjectName(QStringLiteral("GroupLengthMinSpinEdit"));
    max_ = new QSpinBox(this);
    max_->setObjectName(QStringLiteral("GroupLengthMaxSpinEdit"));
    for (QSpinBox* box : {min_, max_})
        box->setRange(1, GroupLength::kLongest);
    min_->setAccessibleName(tr("Shortest group"));
    max_->setAccessibleName(tr("Longest group"));
    auto* to = new QLabel(tr("to"), this);
    connect(length_, &QComboBox::currentIndexChanged, this, &PracticeOptionsBox::FollowChoice);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(length_);
    row->addWidget(min_);
    row->addWidget(to);
    row->addWidget(max_);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addWidget(introduce_);
    layout->addLayout(row);
    FollowChoice();
}

void PracticeOptionsBox::FollowChoice() {
    const bool range = length_->currentIndex() == 2;
    min_->setEnabled(range);
    max_->setEnabled(range);
}

void PracticeOptionsBox::Load(const SettingsStore& store) {
    introduce_->setChecked(store.Read(keys::IntroduceCharacter) != 0);
    const GroupLength length = SessionOpening::StoredGroupLength(store);
    length_->setCurrentIndex(std::clamp(store.Read(keys::GroupLengthMode), 0, 2));
    min_->setValue(length.kind == GroupLength::Kind::OneToEight ? store.Read(keys::GroupLengthMin)
                                                                : length.min);
    max_->setValue(length.kind == GroupLength::Kind::OneToEight ? store.Read(keys::GroupLengthMax)
                                                                : length.max);
    FollowChoice();
}

void PracticeOptionsBox::Save(SettingsStore& store) const {
    store.Write(keys::IntroduceCharacter, introduce_->isChecked() ? 1 : 0);
    store.Write(keys::GroupLengthMode, length_->currentIndex());
    if (length_->currentIndex() == 2) {
        store.Write(keys::GroupLengthMin, std::min(min_->value(), max_->value()));
        store.Write(keys::GroupLengthMax, std::max(min_->value(), max_->value()));
    }
}

}  // namespace lumbrel
