#pragma once
// The text area "Sent" as plain text: revealed text, appended at the end. UI thread only.
#include <QString>
#include <QStringList>

namespace lumbrel {

// The text area "Sent": revealed text, appended at the end.
class TextAreaListener {
public:
    virtual ~TextAreaListener() = default;
    virtual void TextCleared() = 0;
    virtual void TextAppended(const QString& text) = 0;
    virtual void TextReplaced(const QString& text) = 0;
};

class TextArea {
public:
    void Clear();
    void Append(const QString& text);
    void SetLines(const QStringList& lines);

    const QString& Text() const { return text_; }
    QStringList Lines() const;
    int LineCount() const;

    void SetListener(TextAreaListener* listener) { listener_ = listener; }

private:
    QString text_;
    TextAreaListener* listener_ = nullptr;
};

}  // namespace lumbrel
