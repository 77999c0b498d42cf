#include "scoring/HistoryService.h"

namespace lumbrel {

HistoryService::HistoryService(QString path) : path_(std::move(path)) {}

HistoryService::~HistoryService() = default;

void HistoryService::SetPath(const QString& path) {
    if (!history_)
        path_ = path;
}

QString HistoryService::Path() const {
    return path_.isEmpty() ? History::DefaultPath() : path_;
}

History* HistoryService::Open(Use use) {
    return OpenAs(use, false);
}

History* HistoryService::OpenAs(Use use, bool sessionStarting) {
    if (!history_)
        history_ = std::make_unique<History>(Path());
    const bool ok = use == Use::Write ? history_->Open() : history_->OpenToRead();
    Report report;
    report.notice = history_->TakeNotice(&report.details);
    report.problem = ok ? QString() : history_->Problem();
    report.newProblem = !report.problem.isEmpty() && report.problem != lastProblem_;
    report.sessionStarting = sessionStarting;
    lastProblem_ = report.problem;
    if (listener_ && (!report.notice.isEmpty() || !report.problem.isEmpty()))
        listener_(report);
    return ok ? history_.get() : nullptr;
}

History* HistoryService::OpenToGlance() {
    if (!history_)
        history_ = std::make_unique<History>(Path());
    return history_->OpenToRead() ? history_.get() : nullptr;
}

QString HistoryService::Problem() const {
    return history_ ? history_->Problem() : QString();
}

HistoryService::Stored HistoryService::StoreCheckedCopy(int session, const SessionRecord& record) {
    History* history = Open(Use::Write);
    if (!history)
        return {};
    const auto it = stored_.find(session);
    if (it != stored_.end() && history->Replace(it->second, record))
        return {true, it->second};
    const std::optional<qint64> id = history->Add(record);
    if (id)
        stored_[session] = *id;
    return {true, id};
}

HistoryService::Stored HistoryService::StoreSending(const SendingRecord& sending) {
    History* history = Open(Use::Write);
    if (!history)
        return {};
    return {true, history->AddSending(sending)};
}

MissTallies HistoryService::RecentEchoMisses() {
    const History* history = Open(Use::Read);
    return history ? history->RecentEchoMissTallies(kWeakCharacterHistory) : MissTallies{};
}

MissTallies HistoryService::RecentMisses(int slowMs) {
    const History* history = OpenAs(Use::Read, true);
    return history ? history->RecentMissTallies(kWeakCharacterHistory, slowMs) : MissTallies{};
}

std::function<MissTallies()> HistoryService::FavouredMissesSource(SettingsStore store) {
    return [this, store = std::move(store)] {
        return store.Read(keys::FavourMissed) != 0 ? RecentMisses(LearnerTargetMs(store)) : MissTallies{};
    };
}

HistoryService::RecognitionSetUp HistoryService::SetUpRecognition(const QStringList& characters,
                                                                  const RecognitionOptions& options,
                                                                  std::uint32_t seed) {
    History* history = Open(Use::Write);
    MissTallies misses =
        history ? history->RecentMissTallies(kWeakCharacterHistory, options.targetMs) : MissTallies{};
    std::vector<DrillRecord> earlier =
        history ? history->Drills(DrillKind::Recognition, kKnownDrills) : std::vector<DrillRecord>{};
    return {
        std::make_unique<RecognitionDrill>(characters, options, std::move(misses), std::move(earlier), seed),
        history};
}

HistoryService::CallsignSetUp HistoryService::SetUpCallsignRun(
    const CallsignRunOptions& options, std::uint32_t seed, bool missedOnly,
    const std::function<std::vector<std::string>()>& realCalls) {
    History* history = Open(Use::Write);
    auto run =
        std::make_unique<CallsignRun>(options, seed, history ? history->BestCallsignScore() : std::nullopt);
    std::vector<std::string> pool;
    if (missedOnly && history)
        pool = CallsignRun::MissedCalls(history->Drills(DrillKind::Callsigns));
    if (pool.empty() && realCalls)
        pool = realCalls();
    run->DrawFrom(std::move(pool));
    return {std::move(run), history};
}

}  // namespace lumbrel
