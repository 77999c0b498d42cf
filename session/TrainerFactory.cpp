#include "session/TrainerFactory.h"

#include "session/QtMessagePump.h"

namespace lumbrel {

TrainerWiring QtPumpWiring(QtMessagePump& pump, SessionListener* forward) {
    TrainerWiring wiring;
    wiring.listener = &pump;
    wiring.attach = [&pump, forward](Trainer* trainer) {
        pump.Attach(trainer, trainer ? forward : nullptr);
    };
    return wiring;
}

WiredTrainer::WiredTrainer(std::unique_ptr<Trainer> trainer, TrainerWiring wiring)
    : trainer_(std::move(trainer)),
      wiring_(std::move(wiring)) {
    trainer_->SetListener(wiring_.listener);
    if (wiring_.attach)
        wiring_.attach(trainer_.get());
}

WiredTrainer& WiredTrainer::operator=(WiredTrainer&& other) noexcept {
    if (this != &other) {
        Reset();
        trainer_ = std::move(other.trainer_);
        wiring_ = std::move(other.wiring_);
    }
    return *this;
}

void WiredTrainer::Reset() {
    if (!trainer_)
        return;
    if (wiring_.attach)
        wiring_.attach(nullptr);
    trainer_->SetListener(nullptr);
    trainer_.reset();
}

void BuildTrainer(WiredTrainer& into, Trainer::Dependencies deps, TrainerWiring wiring) {
    const TrainerWiring::Restore restore = wiring.restore;
    auto beforeRestore = wiring.beforeRestore;
    into = WiredTrainer(std::make_unique<Trainer>(std::move(deps)), std::move(wiring));
    if (beforeRestore)
        beforeRestore(*into);
    if (restore != TrainerWiring::Restore::None)
        into->FormCreate();
    if (restore == TrainerWiring::Restore::CreateAndShow)
        into->FormShow();
}

}  // namespace lumbrel
