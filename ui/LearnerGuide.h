#pragma once
// What the main window offers a learner in the first weeks, wired into it from one
// place: the welcome in the text area on the first start (and Help > Welcome), the
// lesson at a glance in the window's title, the new character shown large while it is
// introduced, Help > Characters, Session > Repeat Last Session and the volume. The
// rules behind them live in the core (session/Welcome.h, session/SessionOpening.h,
// scoring/LessonGlance.h); this class draws and forwards. UI thread only.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QString>

#include <functional>

#include "scoring/HistoryService.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QSpinBox;
class QTextEdit;

namespace lumbrel {

class CharacterPlayer;
class CharactersWindow;
class Trainer;

class LearnerGuide final : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QMainWindow& window;
        Trainer& trainer;
        CharacterPlayer& player;
        QTextEdit& text;  // the text area
        QMenu& sessionMenu;
        QAction* helpBefore = nullptr;         // the menu bar entry the Help menu goes before
        QAction* startAction = nullptr;        // follows the session's state
        HistoryService& history;               // the history the lesson is read from
        QString title;                         // the window's own title
        bool firstStart = false;               // no settings file existed before this start
    };
    explicit LearnerGuide(Parts parts);
    ~LearnerGuide() override;

    // Help > Welcome: the greeting in the text area (while no session runs).
    void ShowWelcome();
    // The title: the window's own, then the lesson once there is a history.
    void UpdateLessonTitle();
    // Help > Characters.
    void ShowCharacters();

    QAction* WelcomeAction() const { return welcome_; }
    QAction* CharactersAction() const { return characters_; }
    QAction* RepeatAction() const { return repeat_; }
    QSpinBox* VolumeSpinBox() const { return volume_; }
    QLabel* IntroductionLabel() const { return banner_; }
    CharactersWindow* Characters() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowIntroduction(const QString& display);
    void PlaceBanner();
    void FollowSession();

    Parts parts_;
    QAction* welcome_ = nullptr;
    QAction* characters_ = nullptr;
    QAction* repeat_ = nullptr;
    QSpinBox* volume_ = nullptr;
    QLabel* banner_ = nullptr;
    // The text area's viewport, kept from the start: its events may still come while the
    // text area is being destroyed, when it can no longer be asked.
    QPointer<QWidget> viewport_;
    QPointer<CharactersWindow> chart_;
};

}  // namespace lumbrel
