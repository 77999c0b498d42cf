#pragma once
// The text area "Sent": a read-only rich-text view that shows the trainer's TextArea
// model. Text is only ever appended at the end, cleared or replaced, as the model says.
#include <QTextEdit>

#include "session/TextArea.h"

namespace lumbrel {

class RichEditRx final : public QTextEdit, public TextAreaListener {
    Q_OBJECT
public:
    explicit RichEditRx(QWidget* parent = nullptr);
    ~RichEditRx() override;

    // Shows `model` from now on (its current text at once). UI thread.
    void Bind(TextArea* model);

    // TextAreaListener.
    void TextCleared() override;
    void TextAppended(const QString& text) override;
    void TextReplaced(const QString& text) override;

private:
    TextArea* model_ = nullptr;
};

}  // namespace lumbrel
