#include "session/DelayedDisplay.h"

#include <QCoreApplication>

#include "audio/Messages.h"

namespace lumbrel {

DelayedDisplay::DelayedDisplay(SessionReadouts& readouts, TextArea& sent, MessageTarget& window)
    : readouts_(readouts),
      sent_(sent),
      window_(window) {}

const QStringList& DelayedDisplay::HideNotice() {
    // Translated on each call: the language can change while the program runs.
    static QStringList notice;
    notice = {
        QCoreApplication::translate("lumbrel::Trainer",
                                    "Display will reveal at the end of the training session."),
        QCoreApplication::translate("lumbrel::Trainer", "(Display Delay 'Hide' option selected)."),
    };
    return notice;
}

void DelayedDisplay::ShowCount(int charactersSent) {
    readouts_.SetStatus(charactersSent <= 0 ? QString()
                                            : QCoreApplication::translate("lumbrel::Trainer", "  %1 characters sent")
                                                  .arg(charactersSent));
}

void DelayedDisplay::PostDisplayStep() {
    window_.PostMessage(kDisplayMessage, 0, 0);
}

void DelayedDisplay::RefreshHideNotice() {
    if (sent_.LineCount() != 2)
        sent_.SetLines(HideNotice());
}

void DelayedDisplay::TakeText(const QString* text) {
    if (kind_ == SourceKind::RandomGroups) {
        if (text)
            queue_.push_back(*text);
        if (delay_ != kHide)
            PostDisplayStep();
        else
            RefreshHideNotice();
        return;
    }
    if (!text)
        return;
    pendingWord_ += *text;
    if (delay_ != kHide) {
        if (pendingWord_.endsWith(QLatin1Char(' '))) {
            queue_.push_back(pendingWord_);
            pendingWord_.clear();
            PostDisplayStep();
        }
    } else {
        RefreshHideNotice();
    }
}

void DelayedDisplay::TakeLateText(const QString* text) {
    if (!text)
        return;
    if (kind_ == SourceKind::RandomGroups)
        queue_.push_back(*text);
    else
        pendingWord_ += *text;
}

void DelayedDisplay::ShowHeldItems() {
    // A step posted before the delay was switched to "Hide" must not reveal anything.
    if (parameterLines_ || delay_ == kHide)
        return;
    const bool updateTray = !(singleWordOnly_ && wordList_);
    while (static_cast<int>(queue_.size()) > delay_) {
        const QString item = std::move(queue_.front());
        queue_.pop_front();
        sent_.Append(item);
        if (updateTray) {
            trayWord_ += item;
            if (item.endsWith(QLatin1Char(' '))) {
                readouts_.SetTrayWord(trayWord_.trimmed());
                trayWord_.clear();
            }
        }
    }
}

void DelayedDisplay::FinalReveal() {
    if (delay_ == kHide)
        sent_.Clear();
    if (!parameterLines_) {
        QString all;
        for (const QString& item : queue_)
            all += item;
        all += pendingWord_;
        sent_.Append(all);
    }
    queue_.clear();
    pendingWord_.clear();
}

void DelayedDisplay::SetDelayIndex(int index) {
    sent_.Clear();
    const QStringList& items = DisplayDelayCaptions();
    if (index <= 0 || index >= items.size())
        delay_ = kHide;
    else
        delay_ = items[index].toInt();
}

}  // namespace lumbrel
