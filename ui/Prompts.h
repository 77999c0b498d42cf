#pragma once
// The standard dialogs the main window asks the user through: message boxes, the
// font dialog and the file dialogs. The program uses QtPrompts; tests give their own
// answers instead of opening modal windows. UI thread only.
#include <QColor>
#include <QFont>
#include <QString>

#include <QStringList>

#include <optional>

#include "session/Trainer.h"  // MessageKind

class QWidget;

namespace lumbrel {

// What the "Create Audio File" dialog returned: the path (empty when cancelled) and
// the index of the file type chosen.
struct AudioFileChoice {
    QString path;
    int filterIndex = 0;
};

// A font and the colour its text is drawn in.
struct FontChoice {
    QFont font;
    QColor colour;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // "Create Audio File": starts on `defaultName`, no read-only box, resizable;
    // `filters` in QFileDialog form with `selected` preselected. It does not ask before
    // overwriting: the record command asks about the files it will really write.
    virtual AudioFileChoice ChooseAudioFile(QWidget* parent, const QString& defaultName,
                                            const QStringList& filters, int selected) = 0;
    // A modal message box with an OK button and the kind's icon.
    virtual void Message(QWidget* parent, const QString& text, const QString& caption,
                         MessageKind kind = MessageKind::Information) = 0;
    // The same with `details` behind "Show Details..."; prompts without such a box show
    // the text alone.
    virtual void DetailedMessage(QWidget* parent, const QString& text, const QString& details,
                                 const QString& caption, MessageKind kind);
    // A modal question with Yes and No, No the default; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
    // The application's standard error box, for failures such as a file that cannot
    // be written.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // The font dialog, opened on `current`, sizes up to maxPointSize; nothing when cancelled.
    virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& current, int maxPointSize) = 0;
    // The font dialog with a choice of colour as well; nothing when cancelled. Prompts
    // without a colour choice of their own offer the font and keep the colour.
    virtual std::optional<FontChoice> ChooseFontAndColour(QWidget* parent, const FontChoice& current,
                                                          int maxPointSize);
    // A save dialog; an empty text when cancelled. `filter` as in QFileDialog.
    // An open dialog for one existing file; an empty text when cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix) = 0;

    // The folder the next file dialog opens in; empty: the dialog's own choice.
    void SetStartFolder(const QString& folder) { startFolder_ = folder; }
    const QString& StartFolder() const { return startFolder_; }

protected:
    QString startFolder_;
};

// The platform's dialogs.
class QtPrompts final : public Prompts {
public:
    void Message(QWidget* parent, const QString& text, const QString& caption,
                 MessageKind kind = MessageKind::Information) override;
    void DetailedMessage(QWidget* parent, const QString& text, const QString& details, const QString& caption,
                         MessageKind kind) override;
    bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    void Error(QWidget* parent, const QString& text) override;
    std::optional<QFont> ChooseFont(QWidget* parent, const QFont& current, int maxPointSize) override;
    // "Select Font": the font dialog with a Colour button below it.
    std::optional<FontChoice> ChooseFontAndColour(QWidget* parent, const FontChoice& current,
                                                  int maxPointSize) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix) override;
    AudioFileChoice ChooseAudioFile(QWidget* parent, const QString& defaultName, const QStringList& filters,
                                    int selected) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
};

}  // namespace lumbrel
