#include "ui/CharactersWindow.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "session/CharacterChart.h"
#include "engine/CharacterPlayer.h"
#include "session/Trainer.h"

namespace lumbrel {
namespace {
constexpr int kColumns = 4;
}  // namespace

CharactersWindow::CharactersWindow(Trainer& trainer, CharacterPlayer& player, QWidget* parent)
    : QDialog(parent),
      trainer_(trainer),
      player_(player) {
    setObjectName(QStringLiteral("CharactersWindow"));
    setWindowTitle(tr("Characters"));
    auto* intro =
        new QLabel(tr("Every character of the learning order with its code. Press a button or type the "
                      "character to hear it. The characters of your lesson are in bold."),
                   this);
    intro->setWordWrap(true);
    auto* panel = new QWidget;
    grid_ = new QGridLayout(panel);
    grid_->setHorizontalSpacing(18);
    grid_->setVerticalSpacing(6);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    played_ = new QLabel(this);
    played_->setObjectName(QStringLiteral("PlayedLabel"));
    auto* close = new QPushButton(tr("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(played_, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(scroll, 1);
    layout->addLayout(bottom);
    Refresh();
    // Every column in sight; the rows scroll on a small screen.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(panel->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() + 4);
    intro->setMaximumWidth(scroll->minimumWidth());
    resize(sizeHint().width(), std::min(panel->sizeHint().height() + 4 * intro->sizeHint().height(),
                                        fontMetrics().height() * 36));
}

void CharactersWindow::Refresh() {
    for (QWidget* cell : cells_)
        delete cell;
    cells_.clear();
    buttons_.clear();
    const auto chart = CharacterChart(trainer_.Characters().CharacterList(),
                                      trainer_.Options().Get(Option::CharacterCount));
    int index = 0;
    for (const ChartEntry& entry : chart) {
        auto* button = new QPushButton(entry.character->display.toUpper());
        button->setObjectName(QStringLiteral("Character%1").arg(index + 1));
        button->setAccessibleName(tr("Hear %1").arg(entry.character->display));
        button->setToolTip(tr("Hear %1").arg(entry.character->display));
        button->setAutoDefault(false);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("MMMMM")));
        QFont font = button->font();
        font.setBold(entry.inUse);
        font.setPointSizeF(font.pointSizeF() * 1.3);
        button->setFont(font);
        const MorseCharacter* character = entry.character;
        connect(button, &QPushButton::clicked, this, [this, character] { PlayCharacter(character); });
        auto* code = new QLabel(entry.code);
        code->setObjectName(QStringLiteral("Code%1").arg(index + 1));
        QFont codeFont = code->font();
        codeFont.setPointSizeF(codeFont.pointSizeF() * 1.3);
        codeFont.setBold(true);
        code->setFont(codeFont);
        code->setAccessibleName(QString::fromLatin1(character->code));
        const int row = index / kColumns;
        const int column = 2 * (index % kColumns);
        grid_->addWidget(button, row, column);
        grid_->addWidget(code, row, column + 1);
        buttons_.push_back(button);
        cells_.push_back(button);
        cells_.push_back(code);
        ++index;
    }
    for (int column = 1; column < 2 * kColumns; column += 2)
        grid_->setColumnMinimumWidth(column,
                                     fontMetrics().horizontalAdvance(QStringLiteral("M · · · · · · M")));
}

bool CharactersWindow::PlayCharacter(const MorseCharacter* character) {
    if (!character || trainer_.SessionActive() || trainer_.CountdownPending()) {
        played_->setText(tr("A session is running: stop it to hear a character here."));
        return false;
    }
    CharacterPlayer::Sound sound;
    sound.wpm = trainer_.Signal().Wpm();
    sound.pitchHz = trainer_.Signal().Pitch();
    if (!player_.Play({character}, sound)) {
        played_->setText(tr("No sound output: %1").arg(QString::fromStdString(player_.LastError().Text())));
        return false;
    }
    played_->setText(tr("%1   %2").arg(character->display.toUpper(), DotsAndDashes(character->code)));
    return true;
}

void CharactersWindow::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && !text.at(0).isSpace() && text.at(0).isPrint()) {
        const int position = trainer_.Characters().LookUpTextCharacter(text.at(0).unicode());
        const auto& list = trainer_.Characters().CharacterList();
        if (position > 0 && position < static_cast<int>(list.size())) {
            PlayCharacter(list[static_cast<std::size_t>(position)]);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void CharactersWindow::showEvent(QShowEvent* event) {
    Refresh();
    QDialog::showEvent(event);
}

}  // namespace lumbrel
