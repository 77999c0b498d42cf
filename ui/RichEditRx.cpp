#include "ui/RichEditRx.h"

#include <QScrollBar>
#include <QTextCursor>

namespace lumbrel {

RichEditRx::RichEditRx(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The selection stays visible while the focus is elsewhere.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

RichEditRx::~RichEditRx() {
    if (model_)
        model_->SetListener(nullptr);
}

void RichEditRx::Bind(TextArea* model) {
    if (model_)
        model_->SetListener(nullptr);
    model_ = model;
    if (model_) {
        model_->SetListener(this);
        TextReplaced(model_->Text());
    }
}

void RichEditRx::TextCleared() {
    clear();
}

void RichEditRx::TextAppended(const QString& text) {
    // Insert at the end without disturbing a selection the user is making; follow the
    // text only when the view was already at the bottom.
    QScrollBar* bar = verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum() - 2;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (atBottom)
        bar->setValue(bar->maximum());
}

void RichEditRx::TextReplaced(const QString& text) {
    setPlainText(text);
}

}  // namespace lumbrel
