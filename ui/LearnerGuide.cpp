#include "ui/LearnerGuide.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>

#include "scoring/History.h"
#include "scoring/LessonGlance.h"
#include "session/Trainer.h"
#include "session/Welcome.h"
#include "ui/CharactersWindow.h"

namespace lumbrel {

LearnerGuide::LearnerGuide(Parts parts) : QObject(&parts.window), parts_(std::move(parts)) {
    QMainWindow& window = parts_.window;
    auto* help = new QMenu(tr("&Help"), &window);
    help->setObjectName(QStringLiteral("HelpMenu"));
    window.menuBar()->insertMenu(parts_.helpBefore, help);
    welcome_ = help->addAction(tr("&Welcome"));
    welcome_->setObjectName(QStringLiteral("WelcomeAction"));
    connect(welcome_, &QAction::triggered, this, &LearnerGuide::ShowWelcome);
    characters_ = help->addAction(tr("&Characters..."));
    characters_->setObjectName(QStringLiteral("CharactersAction"));
    characters_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(characters_, &QAction::triggered, this, &LearnerGuide::ShowCharacters);

    repeat_ = new QAction(tr("&Repeat Last Session"), &window);
    repeat_->setObjectName(QStringLiteral("RepeatLastSession"));
    repeat_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    repeat_->setToolTip(tr("The same characters as the last session, for a second try"));
    parts_.sessionMenu.insertAction(parts_.sessionMenu.actions().value(1), repeat_);
    connect(repeat_, &QAction::triggered, this, [this] {
        parts_.trainer.RepeatLastSession();
        FollowSession();
    });
    if (parts_.startAction)
        connect(parts_.startAction, &QAction::changed, this, &LearnerGuide::FollowSession);
    FollowSession();

    // In the status line, where it takes no room from the tool buttons at large fonts.
    auto* volumeBox = new QWidget(window.statusBar());
    auto* volumeLayout = new QHBoxLayout(volumeBox);
    volumeLayout->setContentsMargins(8, 0, 4, 0);
    auto* volumeLabel = new QLabel(tr("&Volume"), volumeBox);
    volume_ = new QSpinBox(volumeBox);
    volume_->setObjectName(QStringLiteral("VolumeSpinBox"));
    volume_->setRange(OutputGain::kMinDb, OutputGain::kMaxDb);
    volume_->setSuffix(tr(" dB"));
    volume_->setAccessibleName(tr("Volume"));
    volume_->setToolTip(tr("The trainer's volume, in dB below full level"));
    volume_->setValue(parts_.trainer.Engine().Gain().Db());
    volumeLabel->setBuddy(volume_);
    // Out of the Tab chain of the options and the text area; Alt+V reaches it.
    volume_->setFocusPolicy(Qt::ClickFocus);
    volumeLayout->addWidget(volumeLabel);
    volumeLayout->addWidget(volume_);
    window.statusBar()->addPermanentWidget(volumeBox);
    connect(volume_, &QSpinBox::valueChanged, this, [this](int db) { parts_.trainer.SetVolumeDb(db); });

    // The new character, large, over the text area while it is introduced.
    banner_ = new QLabel(parts_.text.viewport());
    banner_->setObjectName(QStringLiteral("IntroductionLabel"));
    banner_->setAlignment(Qt::AlignCenter);
    QFont big = banner_->font();
    big.setPointSizeF(big.pointSizeF() * 6);
    big.setBold(true);
    banner_->setFont(big);
    banner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    banner_->hide();
    viewport_ = parts_.text.viewport();
    viewport_->installEventFilter(this);
    parts_.trainer.Opening().Introduction().SetListener(
        [this](const QString& display) { ShowIntroduction(display); });

    // The lesson and the chart follow the character count.
    if (auto* count = window.findChild<QSpinBox*>(QStringLiteral("CharacterCountSpinEdit")))
        connect(count, &QSpinBox::valueChanged, this, [this] {
            UpdateLessonTitle();
            if (chart_)
                chart_->Refresh();
        });
    window.installEventFilter(this);
    if (Welcome::Due(parts_.trainer.Store(), parts_.firstStart))
        ShowWelcome();
    UpdateLessonTitle();
}

LearnerGuide::~LearnerGuide() {
    parts_.trainer.Opening().Introduction().SetListener({});
}

void LearnerGuide::ShowWelcome() {
    if (parts_.trainer.SessionActive() || parts_.trainer.CountdownPending())
        return;
    parts_.trainer.Sent().SetLines(Welcome::Text().split(QLatin1Char('\n')));
}

void LearnerGuide::UpdateLessonTitle() {
    QString glance;
    // Only a history there is: reading never makes one.
    if (QFileInfo(parts_.history.Path()).isFile()) {
        if (History* history = parts_.history.OpenToGlance()) {
            const auto& list = parts_.trainer.Characters().CharacterList();
            const int count = parts_.trainer.Options().Get(Option::CharacterCount);
            QStringList characters;
            for (int k = 1; k <= count && k < static_cast<int>(list.size()); ++k)
                characters << list[static_cast<std::size_t>(k)]->display;
            glance = LessonGlance(characters, history->Sessions());
        }
    }
    parts_.window.setWindowTitle(glance.isEmpty() ? parts_.title
                                                  : QStringLiteral("%1 - %2").arg(glance, parts_.title));
}

CharactersWindow* LearnerGuide::Characters() const {
    return chart_.data();
}

void LearnerGuide::ShowCharacters() {
    if (!chart_) {
        chart_ = new CharactersWindow(parts_.trainer, parts_.player, &parts_.window);
        chart_->setAttribute(Qt::WA_DeleteOnClose);
    }
    chart_->show();
    chart_->raise();
    chart_->activateWindow();
}

void LearnerGuide::ShowIntroduction(const QString& display) {
    banner_->setText(display.toUpper());
    banner_->setAccessibleName(tr("New character: %1").arg(display));
    banner_->setVisible(!display.isEmpty());
    PlaceBanner();
}

void LearnerGuide::PlaceBanner() {
    if (viewport_)
        banner_->setGeometry(viewport_->rect());
}

void LearnerGuide::FollowSession() {
    const Trainer& t = parts_.trainer;
    // Start is enabled exactly when no session runs or counts down.
    const bool idle = !parts_.startAction || parts_.startAction->isEnabled();
    repeat_->setEnabled(t.Opening().CanRepeat() && idle && t.Source() == SourceKind::RandomGroups);
}

bool LearnerGuide::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && event->type() == QEvent::Resize)
        PlaceBanner();
    // Back from checking a copy or from another program: the lesson may have moved on.
    if (watched == &parts_.window && event->type() == QEvent::WindowActivate)
        UpdateLessonTitle();
    return QObject::eventFilter(watched, event);
}

}  // namespace lumbrel
