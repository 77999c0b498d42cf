#include "session/VirtualSession.h"

namespace lumbrel {

VirtualSession::VirtualSession(SettingsStore store, std::uint32_t seed, QTime startOfDay, RigKeying* rig,
                               bool qrmStations)
    : clock_(0, startOfDay),
      device_(clock_),
      qrm1_(clock_),
      qrm2_(clock_) {
    TrainerWiring wiring;
    wiring.listener = this;
    wiring.restore = TrainerWiring::Restore::None;  // CreateAndShow restores
    BuildTrainer(trainer_,
                 Trainer::Dependencies{.store = std::move(store),
                                       .clock = clock_,
                                       .window = queue_,
                                       .audio = device_,
                                       .host = *this,
                                       .rig = rig,
                                       .qrmAudio = qrmStations ? std::array<AudioDevice*, 2>{&qrm1_, &qrm2_}
                                                               : std::array<AudioDevice*, 2>{},
                                       .seed = seed},
                 std::move(wiring));
    routing.SetReceiver(trainer_.get());
    clock_.AddListener(*this);
}

VirtualSession::~VirtualSession() {
    clock_.RemoveListener(*this);
    trainer_.Reset();  // closes the stations before their devices go
    (void)device_.Close();
}

void VirtualSession::CreateAndShow() {
    trainer_->FormCreate();
    trainer_->FormShow();
}

void VirtualSession::Pump() {
    while (auto m = queue_.TryTake()) {
        if (m->message == kTimerMessage) {
            if (timerOn_) {
                trainer_->TimerTick();
            }
        } else {
            routing.Deliver(m->message, m->wParam, m->lParam);
        }
        if (afterMessage)
            afterMessage(m->message);
    }
}

void VirtualSession::RunFor(std::int64_t ms) {
    const std::int64_t end = clock_.ElapsedMs() + std::max<std::int64_t>(ms, 0);
    Pump();
    while (clock_.AdvanceToNextDue(end))
        Pump();
    clock_.AdvanceTo(end);
    Pump();
}

bool VirtualSession::RunUntil(const std::function<bool()>& pred, std::int64_t limitMs) {
    const std::int64_t end = clock_.ElapsedMs() + std::max<std::int64_t>(limitMs, 0);
    Pump();
    while (!pred()) {
        if (!clock_.AdvanceToNextDue(end)) {
            clock_.AdvanceTo(end);
            Pump();
            return pred();
        }
        Pump();
    }
    return true;
}

bool VirtualSession::RunUntilIdle(std::int64_t limitMs) {
    return RunUntil([this] { return !trainer_->SessionActive() && !trainer_->CountdownPending(); }, limitMs);
}

void VirtualSession::ShowMessage(const QString& text, const QString& caption, MessageKind kind) {
    shown_.push_back({text, caption, kind});
}

void VirtualSession::RequestClose() {
    if (trainer_->FormCloseQuery()) {
        trainer_->FormClose();
        closed_ = true;
    }
}

void VirtualSession::ReadoutChanged(Readout readout) {
    if (readout != Readout::ClockRunning)
        return;
    const bool on = trainer_->Readouts().ClockRunning();
    if (on && !timerOn_)
        nextTickMs_ = clock_.ElapsedMs() + Trainer::kTimerIntervalMs;
    timerOn_ = on;
}

std::optional<std::int64_t> VirtualSession::NextDueMs() const {
    if (!timerOn_)
        return std::nullopt;
    return nextTickMs_;
}

void VirtualSession::OnClockAdvanced(std::int64_t elapsedMs) {
    if (timerOn_ && elapsedMs >= nextTickMs_) {
        queue_.PostMessage(kTimerMessage, 0, 0);
        nextTickMs_ += Trainer::kTimerIntervalMs;
    }
}

}  // namespace lumbrel
