#include "session/TextArea.h"

namespace lumbrel {

void TextArea::Clear() {
    text_.clear();
    if (listener_)
        listener_->TextCleared();
}

void TextArea::Append(const QString& text) {
    if (text.isEmpty())
        return;
    text_ += text;
    if (listener_)
        listener_->TextAppended(text);
}

void TextArea::SetLines(const QStringList& lines) {
    text_ = lines.join(QLatin1Char('\n'));
    if (listener_)
        listener_->TextReplaced(text_);
}

QStringList TextArea::Lines() const {
    if (text_.isEmpty())
        return {};
    return text_.split(QLatin1Char('\n'));
}

int TextArea::LineCount() const {
    return text_.isEmpty() ? 0 : static_cast<int>(text_.count(QLatin1Char('\n'))) + 1;
}

}  // namespace lumbrel
