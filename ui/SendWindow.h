#pragma once
// Session > Send: a window to practise sending in. The key (keyboard, mouse over the
// sending area, a serial or MIDI key as Setup's "Sending" section names) plays the
// sidetone through the trainer's sound output; the sending area shows each mark as it
// was made against the ideal at the keyer's speed, and the decoder's reading of it.
// What is practised: free sending (from the start), an echo drill (the trainer plays,
// the learner keys it back) or a text to send; after each line its fist is shown. The
// window draws and forwards; the keying is SendingPractice's, the rules the drill
// controllers' (drills/SendingDrills.h).
#include <QDialog>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

#include "drills/SendingDrills.h"
#include "sending/SendingPractice.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace lumbrel {

// The timeline: each mark as made (top row) above its ideal length (bottom row), the
// newest on the right, scaled to the keyer's dot unit.
class SendingArea final : public QWidget {
    Q_OBJECT
public:
    explicit SendingArea(QWidget* parent = nullptr);

    void SetUnitFrames(std::int64_t unit) { unitFrames_ = unit; }
    void AddMark(const SentMark& mark);
    void Clear();
    // Marks shown, oldest first.
    const std::deque<SentMark>& Marks() const { return marks_; }
    // A mark's ideal: a dot or a dash at the keyer's speed (a hand mark counts as the
    // one it is nearer to), in frames.
    std::int64_t IdealFrames(const SentMark& mark) const;

    std::function<void(bool left, bool down)> onButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr std::size_t kKept = 64;
    std::deque<SentMark> marks_;
    std::int64_t unitFrames_ = 2646;
};

class SendWindow final : public QDialog, private SendingView {
    Q_OBJECT
public:
    // What the echo drills play through and draw from: the main window's.
    struct DrillSources {
        CharacterPlayer* player = nullptr;              // none: no echo drills
        std::vector<const MorseCharacter*> characters;  // the character list, to play from
        QStringList learner;                            // the characters in use, lower case
        QString programFolder;                          // where the word and text files are
        CharacterPlayer::Sound sound;                   // the main window's speed and pitch
    };
    // The practices of PracticeBox, in its order.
    enum class Practice { Free, EchoCharacters, EchoWords, EchoCalls, EchoAbbreviations, Text };
    static constexpr int kEchoItems = 20;
    static constexpr int kTextLines = 10;

    // reopen opens the sound output again (the engine's); the store holds "Sending";
    // rig lends its lines while "Key the rig while sending" is on.
    SendWindow(AudioDevice& device, std::function<void()> reopen, SettingsStore store, int pitchHz,
               QWidget* parent = nullptr, RigKeying* rig = nullptr);
    ~SendWindow() override;

    void SetDrillSources(DrillSources sources);
    // Each spell sent (a free sending, an echo drill, a text) once it ends.
    std::function<void(const SendingRecord&)> onRecord;
    // The misses of earlier echo drills, by item; none when unset.
    std::function<MissTallies()> echoMisses;

    SendingPractice& Practice() { return practice_; }
    SendingArea* Area() const { return area_; }
    QLabel* StatusLabel() const { return status_; }
    QComboBox* PracticeBox() const { return practiceBox_; }
    QComboBox* TextFileBox() const { return fileBox_; }
    QPushButton* StartButton() const { return start_; }
    QLabel* PromptLabel() const { return prompt_; }
    QLabel* ReadingLabel() const { return reading_; }
    QLabel* ReportLabel() const { return report_; }
    // Takes the marks the sound has made since the last time and runs the practice on
    // the stream's clock (the timer's job).
    void TakeMarks();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void done(int result) override;

private:
    bool Key(QKeyEvent* event, bool down);
    void StartClicked();
    void StartPractice(enum Practice practice);
    void StopPractice();
    // Free sending again, what the practice over left shown kept.
    void RestartFree();
    void ShowChoices();
    void FillFiles(const QString& folder);
    bool Running() const;

    // SendingView.
    void Reading(const QString& text) override;
    void Prompt(const QString& expected) override;
    void LineEnded(const SentItem& item, const SentLine& line) override;
    void Finished(const SendingRecord& record) override;
    void SoundFailed(const QString& reason) override;

    SettingsStore store_;
    SendingPractice practice_;
    KeyerSettings keyerSettings_;
    DrillSources sources_;
    std::unique_ptr<EchoDrillController> echo_;
    std::unique_ptr<TextSendingController> text_;
    bool restartFree_ = false;  // a drill or text over: free sending again
    bool scoreShown_ = false;   // and the prompt says its score
    SendingArea* area_ = nullptr;
    QLabel* keyer_ = nullptr;
    QLabel* status_ = nullptr;
    QComboBox* practiceBox_ = nullptr;
    QComboBox* fileBox_ = nullptr;
    QPushButton* start_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLabel* reading_ = nullptr;
    QLabel* result_ = nullptr;
    QLabel* report_ = nullptr;
    QTimer* timer_ = nullptr;
};

// The fist of a line as the window shows it: speed, dah:dit ratio, weighting, the
// marks and gaps in dot units with their spread, then the notes.
QString FistText(const FistReport& fist);

}  // namespace lumbrel
