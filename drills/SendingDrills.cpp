#include "drills/SendingDrills.h"

#include <QCoreApplication>
#include <QDateTime>

#include <utility>

#include "morse/SampleFormat.h"
#include "text/EntryList.h"
#include "text/TextEncoding.h"
#include "text/TextFileSource.h"

namespace lumbrel {

namespace {

std::int64_t Frames(int ms) {
    return std::int64_t{ms} * audio::kFrameRate / 1000;
}

int Seconds(std::int64_t frames) {
    return static_cast<int>(frames / audio::kFrameRate);
}

}  // namespace

// --- Echo drills ---------------------------------------------------------------------

EchoDrillController::EchoDrillController(CharacterPlayer& player, CharacterLookup lookup,
                                         std::unique_ptr<EchoDrill> drill, CharacterPlayer::Sound sound,
                                         KeyerSettings keyer, SendingView& view, SendingStore store)
    : player_(player),
      lookup_(std::move(lookup)),
      drill_(std::move(drill)),
      sound_(sound),
      keyer_(keyer),
      view_(view),
      store_(std::move(store)),
      lines_(keyer.Clamped().wpm) {}

EchoDrillController::~EchoDrillController() {
    if (state_ != State::Idle && state_ != State::Over) {
        player_.Stop();
        player_.heard = nullptr;
        player_.failed = nullptr;
    }
}

void EchoDrillController::Start(std::int64_t nowFrame) {
    if (state_ != State::Idle)
        return;
    time_ = {nowFrame, 0};
    player_.heard = [this](std::uint32_t) {
        if (state_ != State::Playing)
            return;
        state_ = State::Answering;
        since_ = time_.elapsed;
        view_.Prompt(current_);
    };
    player_.failed = [this](const AudioResult& reason) {
        Fail(QString::fromStdString(reason.Text()));
    };
    PlayNext();
}

void EchoDrillController::PlayNext() {
    if (drill_->Over() || drill_->Items().isEmpty()) {
        Finish();
        return;
    }
    current_ = drill_->Next();
    lines_.Clear();
    std::vector<const MorseCharacter*> characters;
    for (const QChar c : current_)
        if (const MorseCharacter* record = lookup_(QString(c)))
            characters.push_back(record);
    state_ = State::Playing;
    view_.Prompt(QString());
    if (characters.empty())
        Fail(QCoreApplication::translate("lumbrel::SendingDrills",
                                         "%1 has no character of the character list.")
                 .arg(current_));
    else if (!player_.Play(characters, sound_))
        Fail(QString::fromStdString(player_.LastError().Text()));
}

void EchoDrillController::AddMark(const SentMark& mark) {
    // Keying may start while the item still plays.
    if (state_ != State::Playing && state_ != State::Answering)
        return;
    lines_.Add(mark);
    view_.Reading(lines_.Reading());
}

void EchoDrillController::Enter() {
    if (state_ == State::Answering || (state_ == State::Playing && !lines_.Empty()))
        Take();
}

void EchoDrillController::Tick(std::int64_t nowFrame) {
    time_.Advance(nowFrame);
    const std::int64_t waited = time_.elapsed - since_;
    if (state_ == State::Answering &&
        (lines_.PauseEnded(time_.now) || (lines_.Empty() && waited >= Frames(kNoAnswerMs))))
        Take();
    else if (state_ == State::Showing && waited >= Frames(kShowMs))
        PlayNext();
}

void EchoDrillController::Take() {
    player_.Stop();
    SentLine line = lines_.Take(current_);
    const SentItem item{current_, line.text};
    drill_->Answer(current_, line);
    state_ = State::Showing;
    since_ = time_.elapsed;
    view_.LineEnded(item, line);
}

void EchoDrillController::Stop() {
    if (state_ != State::Idle && state_ != State::Over)
        Finish();
}

void EchoDrillController::Fail(const QString& reason) {
    Finish();
    view_.SoundFailed(reason);
}

void EchoDrillController::Finish() {
    state_ = State::Over;
    player_.Stop();
    player_.heard = nullptr;
    player_.failed = nullptr;
    const SendingRecord record = drill_->Record(QDateTime::currentDateTime(), Seconds(time_.elapsed), keyer_);
    if (!record.items.empty() && store_)
        store_(record);
    view_.Finished(record);
}

// --- A text, and free sending ----------------------------------------------------------

TextSendingController::TextSendingController(QStringList lines, KeyerSettings keyer, SendingView& view,
                                             SendingStore store)
    : lines_(std::move(lines)),
      keyer_(keyer),
      view_(view),
      store_(std::move(store)),
      sent_(keyer.Clamped().wpm) {}

QString TextSendingController::Expected() const {
    const auto index = static_cast<qsizetype>(items_.size());
    return over_ || index >= lines_.size() ? QString() : lines_.at(index);
}

void TextSendingController::Start(std::int64_t nowFrame) {
    if (started_)
        return;
    started_ = true;
    time_ = {nowFrame, 0};
    view_.Prompt(Expected());
}

void TextSendingController::AddMark(const SentMark& mark) {
    if (!started_ || over_)
        return;
    sent_.Add(mark);
    view_.Reading(sent_.Reading());
}

void TextSendingController::Enter() {
    if (started_ && !over_ && (Kind() == SendingKind::Text || !sent_.Empty()))
        EndLine();
}

void TextSendingController::Tick(std::int64_t nowFrame) {
    time_.Advance(nowFrame);
    if (started_ && !over_ && sent_.PauseEnded(time_.now))
        EndLine();
}

void TextSendingController::EndLine() {
    const QString expected = Expected();
    SentLine line = sent_.Take(expected);
    if (!line.timeline.marks.empty())
        fists_.push_back(line.fist);
    const SentItem item{expected, line.text};
    items_.push_back(item);
    view_.LineEnded(item, line);
    if (Kind() == SendingKind::Text && static_cast<qsizetype>(items_.size()) >= lines_.size())
        Finish();
    else
        view_.Prompt(Expected());
}

void TextSendingController::Stop() {
    if (!started_ || over_)
        return;
    if (!sent_.Empty())
        EndLine();
    if (!over_)
        Finish();
}

void TextSendingController::Finish() {
    over_ = true;
    SendingRecord record;
    record.kind = Kind();
    record.ended = QDateTime::currentDateTime();
    record.durationSeconds = Seconds(time_.elapsed);
    FillKeyer(record, keyer_);
    if (record.kind == SendingKind::Text) {
        record.items = items_;
    } else if (!items_.empty()) {
        QStringList sent;
        for (const SentItem& item : items_)
            sent << item.sent;
        record.items = {{QString(), sent.join(QLatin1Char(' '))}};
    }
    record.fist = PooledFist(fists_);
    if (!record.items.empty() && store_)
        store_(record);
    view_.Finished(record);
}

// --- The lines of a file ---------------------------------------------------------------

namespace {

// Lower case, only what has a code, single spaces.
QString Sendable(const QString& text) {
    QString out;
    for (const QChar c : text.toLower()) {
        if (c.isSpace())
            out += QLatin1Char(' ');
        else if (!TimelineDecoder::CodeOf(QString(c)).isEmpty())
            out += c;
    }
    return out.simplified();
}

void AddCut(QStringList& lines, const QString& text) {
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > kLongestLine) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word.left(kLongestLine);
    }
    if (!line.isEmpty())
        lines << line;
}

}  // namespace

QStringList SendingTextLines(const QString& path, bool wordList, int count, std::uint32_t seed,
                             QString* problem) {
    QStringList lines;
    RandomNumber random(seed);
    if (wordList) {
        const EntryLoadResult loaded = LoadEntryList(path, EntryListOptions{}, random);
        QStringList words;
        for (const QByteArray& entry : loaded.entries)
            if (const QString word = Sendable(QString::fromUtf8(entry)); !word.isEmpty())
                words << word;
        if (words.isEmpty()) {
            if (problem)
                *problem = loaded.problem.isEmpty() ? QCoreApplication::translate("lumbrel::SendingDrills",
                                                                                  "%1 holds no word to send.")
                                                          .arg(path)
                                                    : loaded.problem;
            return {};
        }
        for (int n = 0; n < count; ++n) {
            QStringList line;
            for (int w = 0; w < 5; ++w)
                line << words.at(EntryIndex(random, words.size()));
            lines << line.join(QLatin1Char(' '));
        }
        return lines;
    }
    LineReader reader;
    if (!reader.Open(path)) {
        if (problem)
            *problem = reader.Error();
        return {};
    }
    QByteArrayView raw;
    while (lines.size() < count && reader.Next(raw)) {
        if (IsBlankLine(raw) || IsCommentLine(raw))
            continue;
        const QByteArray utf8 = ToUtf8(raw, JudgeEncoding(raw));
        AddCut(lines, Sendable(QString::fromUtf8(utf8)));
    }
    if (reader.Failed() && problem)
        *problem = reader.Error();
    else if (lines.isEmpty() && problem)
        *problem =
            QCoreApplication::translate("lumbrel::SendingDrills", "%1 holds no text to send.").arg(path);
    return lines.mid(0, count);
}

}  // namespace lumbrel
