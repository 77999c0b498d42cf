#pragma once
// Help > Characters: every character of the learning order with its code as dots and
// dashes, and a button to hear it; typing a character plays it too. Not modal, so a
// learner can keep it open beside the main window; nothing plays while a session runs.
#include <QDialog>

#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;

namespace lumbrel {

class CharacterPlayer;
class Trainer;
struct MorseCharacter;

class CharactersWindow final : public QDialog {
    Q_OBJECT
public:
    CharactersWindow(Trainer& trainer, CharacterPlayer& player, QWidget* parent = nullptr);

    // The chart again: the order or the count may have changed.
    void Refresh();
    // Plays one character at the main window's speed and pitch; false while a session
    // runs or when the sound output refuses.
    bool PlayCharacter(const MorseCharacter* character);

    QPushButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    int Count() const { return static_cast<int>(buttons_.size()); }
    // What was played last (display text), for the line under the chart.
    QLabel* Played() const { return played_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Trainer& trainer_;
    CharacterPlayer& player_;
    QGridLayout* grid_ = nullptr;
    QLabel* played_ = nullptr;
    std::vector<QPushButton*> buttons_;
    std::vector<QWidget*> cells_;
};

}  // namespace lumbrel
