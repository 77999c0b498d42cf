#pragma once
// Small widgets the windows are built from: a radio group laid out as the toolkit
// of the original trainer lays it out, a spin box with a page step, and the helpers
// that keep the windows usable from the keyboard and readable on any palette.
#include <QButtonGroup>
#include <QColor>
#include <QGroupBox>
#include <QScrollArea>
#include <QSpinBox>
#include <QStringList>

#include <vector>

class QGridLayout;
class QRadioButton;

namespace lumbrel {

// A frame of radio buttons in `columns` columns, filled column by column: with n
// items each column holds ceil(n / columns) of them, top to bottom. The index is the
// selected item, or -1 when none is selected.
class RadioGroup final : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, int columns, QWidget* parent = nullptr);

    // Keeps the selection when the number of items stays the same (a relabelling).
    void SetItems(const QStringList& items);
    QStringList Items() const { return items_; }
    // An index above the last item selects the last item, one below -1 selects none
    // (restoring a control runs its reaction).
    void SetIndex(int index);
    int Index() const;
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Button(int index) const;

Q_SIGNALS:
    // The user selected an item (not emitted by SetIndex).
    void Clicked(int index);

private:
    void Rebuild();
    // Tab enters the group on its selected button (the first when none is), so that
    // Space there does not change the setting; the arrow keys move within the group.
    void UpdateTabStop();

    int columns_;
    QStringList items_;
    QGridLayout* grid_;
    QButtonGroup group_;
    std::vector<QRadioButton*> buttons_;
};

// A spin box whose Page Up and Page Down keys step by `pageStep`.
class PageSpinBox final : public QSpinBox {
    Q_OBJECT
public:
    explicit PageSpinBox(QWidget* parent = nullptr) : QSpinBox(parent) {}
    void SetPageStep(int step) { pageStep_ = step; }
    int PageStep() const { return pageStep_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int pageStep_ = 10;
};

// A scroll area as large as its widget, so that nothing scrolls, until it is allowed
// to shrink (to no less than `smallest`): then it scrolls what no longer fits.
class FittingScrollArea final : public QScrollArea {
public:
    explicit FittingScrollArea(QWidget* parent = nullptr);
    void AllowShrinking(QSize smallest);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize smallest_;
};

// Combo and spin boxes change on the mouse wheel only while they have the keyboard
// focus: a turn over an unfocused box goes to what lies beneath it (a scrolling area
// scrolls) instead of changing a setting the pointer merely passed over. Applies to
// `root` and every such box inside it at the time of the call.
void GuardWheel(QWidget* root);

// Fonts that a window's design gives a size of their own (titles, large edit fields)
// grow with a desktop font above the 10 points they were designed beside, so that a
// title never ends up smaller than the text under it. Never shrinks a font.
void GrowDesignedFonts(QWidget* root);

// The WCAG contrast ratio of two colours, 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// `wanted` made lighter or darker, keeping its hue, until it reaches `ratio` against
// `background`: a fixed accent colour stays readable on light and dark palettes.
QColor ReadableOn(const QColor& wanted, const QColor& background, double ratio = 4.5);

}  // namespace lumbrel
