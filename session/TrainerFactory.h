#pragma once
// Builds the whole trainer: the trainer wired to the pump that delivers its messages
// and timer ticks, the listener of its controls, and the start-up restore of the
// stored options. The window, lumbrel-render and the tests all build it here, so the
// wiring exists once.
#include <functional>
#include <memory>

#include "session/Trainer.h"

namespace lumbrel {

class QtMessagePump;

struct TrainerWiring {
    // Gets every change of the trainer's options and read-outs (a pump's timer follows
    // the session's clock).
    SessionListener* listener = nullptr;
    // Hands the trainer to the pump; called with nullptr before the trainer goes.
    std::function<void(Trainer*)> attach;
    // Runs once the trainer is wired, before the options are restored (a window binds
    // its widgets to the options here).
    std::function<void(Trainer&)> beforeRestore;
    enum class Restore {
        None,           // the owner restores
        Create,         // FormCreate; the window shows itself later
        CreateAndShow,  // FormCreate, then the first showing
    } restore = Restore::CreateAndShow;
};

// The wiring of a QtMessagePump: messages and ticks go to the trainer, and changes of
// its options and read-outs to forward as well.
TrainerWiring QtPumpWiring(QtMessagePump& pump, SessionListener* forward = nullptr);

// Owns a wired trainer and unwires it before it goes. Used like a pointer.
class WiredTrainer {
public:
    WiredTrainer() = default;
    WiredTrainer(std::unique_ptr<Trainer> trainer, TrainerWiring wiring);
    WiredTrainer(WiredTrainer&& other) noexcept = default;
    WiredTrainer& operator=(WiredTrainer&& other) noexcept;
    ~WiredTrainer() { Reset(); }

    Trainer* get() const { return trainer_.get(); }
    Trainer* operator->() const { return trainer_.get(); }
    Trainer& operator*() const { return *trainer_; }
    explicit operator bool() const { return trainer_ != nullptr; }
    // Unwires and destroys the trainer.
    void Reset();

private:
    std::unique_ptr<Trainer> trainer_;
    TrainerWiring wiring_;
};

// Builds the trainer into `into` (which holds it before the options are restored, so
// that beforeRestore and the restore's reactions can reach it through its owner).
void BuildTrainer(WiredTrainer& into, Trainer::Dependencies deps, TrainerWiring wiring);

}  // namespace lumbrel
