#include "ui/ControlWidgets.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace lumbrel {

RadioGroup::RadioGroup(const QString& title, int columns, QWidget* parent)
    : QGroupBox(title, parent),
      columns_(std::max(1, columns)),
      grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(6, 2, 4, 4);
    grid_->setHorizontalSpacing(4);
    grid_->setVerticalSpacing(2);
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idClicked, this, [this](int id) { Q_EMIT Clicked(id); });
    connect(&group_, &QButtonGroup::idToggled, this, [this] { UpdateTabStop(); });
}

void RadioGroup::SetItems(const QStringList& items) {
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

void RadioGroup::Rebuild() {
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
    UpdateTabStop();
}

void RadioGroup::UpdateTabStop() {
    const QRadioButton* stop = Button(std::max(0, Index()));
    for (QRadioButton* b : buttons_)
        b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void RadioGroup::SetIndex(int index) {
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

int RadioGroup::Index() const {
    return group_.checkedId();
}

QRadioButton* RadioGroup::Button(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

void PageSpinBox::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        setValue(value() + (event->key() == Qt::Key_PageUp ? pageStep_ : -pageStep_));
        selectAll();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

FittingScrollArea::FittingScrollArea(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setFocusPolicy(Qt::NoFocus);  // Tab goes straight to the controls inside
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

void FittingScrollArea::AllowShrinking(QSize smallest) {
    smallest_ = smallest;
    updateGeometry();
}

QSize FittingScrollArea::sizeHint() const {
    if (!widget())
        return QScrollArea::sizeHint();
    QSize size = widget()->sizeHint().expandedTo(widget()->minimumSizeHint());
    // Narrower than the widget: room for the horizontal scroll bar, so that it does
    // not bring a vertical one along.
    if (smallest_.isValid() && smallest_.width() < widget()->minimumSizeHint().width())
        size.rheight() += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return size;
}

QSize FittingScrollArea::minimumSizeHint() const {
    if (!widget())
        return QScrollArea::minimumSizeHint();
    const QSize full = widget()->minimumSizeHint();
    return smallest_.isValid() ? full.boundedTo(smallest_) : full;
}

bool FittingScrollArea::eventFilter(QObject* watched, QEvent* event) {
    // The widget's own size changed (options shown or hidden): so does this area's.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

namespace {

class WheelGuard final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel)
            return false;
        const auto* box = static_cast<QWidget*>(watched);
        const QWidget* focus = QApplication::focusWidget();
        if (box->hasFocus() || (focus && box->isAncestorOf(focus)))
            return false;
        // Not the box's: the ignored event travels on to its parents.
        event->ignore();
        return true;
    }
};

}  // namespace

void GuardWheel(QWidget* root) {
    auto* guard = new WheelGuard(root);
    QList<QWidget*> boxes;
    for (auto* combo : root->findChildren<QComboBox*>())
        boxes << combo;
    for (auto* spin : root->findChildren<QAbstractSpinBox*>())
        boxes << spin;
    if (qobject_cast<QComboBox*>(root) || qobject_cast<QAbstractSpinBox*>(root))
        boxes << root;
    for (QWidget* box : boxes) {
        // Only a click or Tab gives the focus, never the wheel itself.
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(guard);
    }
}

void GrowDesignedFonts(QWidget* root) {
    constexpr qreal kDesignedBeside = 10.0;
    const qreal desktop = QApplication::font().pointSizeF();
    if (desktop <= kDesignedBeside)
        return;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        QFont font = w->font();
        if (!w->testAttribute(Qt::WA_SetFont) || !(font.resolveMask() & QFont::SizeResolved) ||
            font.pointSizeF() <= 0)
            continue;
        font.setPointSizeF(font.pointSizeF() * desktop / kDesignedBeside);
        w->setFont(font);
    }
}

namespace {

double Luminance(const QColor& c) {
    auto channel = [](float v) {
        const double x = v;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& wanted, const QColor& background, double ratio) {
    if (ContrastRatio(wanted, background) >= ratio)
        return wanted;
    // Away from the background: darker on a light one, lighter on a dark one.
    const bool darken = Luminance(background) > 0.18;
    const QColor hsl = wanted.toHsl();
    QColor best = wanted;
    for (int step = 1; step <= 50; ++step) {
        const float lightness = hsl.lightnessF() + (darken ? -0.02f : 0.02f) * static_cast<float>(step);
        best = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), std::clamp(lightness, 0.0f, 1.0f));
        if (ContrastRatio(best, background) >= ratio)
            break;
    }
    return best;
}

}  // namespace lumbrel
