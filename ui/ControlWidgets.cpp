#include "ui/ControlWidgets.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>

namespace lumbrel {

RadioGroup::RadioGroup(const QString& title, int columns, QWidget* parent)
    : QGroupBox(title, parent), columns_(std::max(1, columns)), grid_(new QGridLayout(this))
{
    grid_->setContentsMargins(6, 2, 4, 4);
    grid_->setHorizontalSpacing(4);
    grid_->setVerticalSpacing(2);
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idClicked, this, [this](int id) { Q_EMIT Clicked(id); });
}

void RadioGroup::SetItems(const QStringList& items)
{
    if (items == items_)
        return;
    const bool sameCount = items.size() == items_.size();
    items_ = items;
    if (sameCount) {
        for (int i = 0; i < Count(); ++i)
            buttons_[static_cast<std::size_t>(i)]->setText(items_[i]);
        return;
    }
    Rebuild();
}

void RadioGroup::Rebuild()
{
    const int selected = Index();
    for (QRadioButton* b : buttons_) {
        group_.removeButton(b);
        delete b;
    }
    buttons_.clear();
    const int n = static_cast<int>(items_.size());
    const int perColumn = std::max(1, (n + columns_ - 1) / columns_);
    for (int i = 0; i < n; ++i) {
        auto* b = new QRadioButton(items_[i], this);
        group_.addButton(b, i);
        grid_->addWidget(b, i % perColumn, i / perColumn);
        buttons_.push_back(b);
    }
    SetIndex(selected);
}

void RadioGroup::SetIndex(int index)
{
    const int n = Count();
    if (index >= n)
        index = n - 1;
    if (index < -1)
        index = -1;
    if (index == Index())
        return;
    if (index < 0) {
        group_.setExclusive(false);
        for (QRadioButton* b : buttons_)
            b->setChecked(false);
        group_.setExclusive(true);
        return;
    }
    buttons_[static_cast<std::size_t>(index)]->setChecked(true);
}

int RadioGroup::Index() const { return group_.checkedId(); }

QRadioButton* RadioGroup::Button(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

void PageSpinBox::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        setValue(value() + (event->key() == Qt::Key_PageUp ? pageStep_ : -pageStep_));
        selectAll();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

}  // namespace lumbrel
