#pragma once
// Small widgets the windows are built from: a radio group laid out as the toolkit
// of the original trainer lays it out, and a spin box with a page step.
#include <QButtonGroup>
#include <QGroupBox>
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

}  // namespace lumbrel
