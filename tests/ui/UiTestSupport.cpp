#include "UiTestSupport.h"

#include <QApplication>

namespace lumbrel::test {

void ProcessEvents(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void FakePrompts::Message(QWidget*, const QString& text, const QString& caption, MessageKind kind) {
    messages.push_back({text, caption, kind});
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    if (duringMessage)
        duringMessage();
    ProcessEvents();  // a modal box runs the event loop while it is open
    --depth;
}

std::optional<QFont> FakePrompts::ChooseFont(QWidget*, const QFont& current, int maxPointSize) {
    fontOffered = current;
    maxFontOffered = maxPointSize;
    return fontAnswer;
}

WindowRig::WindowRig(SettingsStore s, bool trayAvailable, RigKeying* rig)
    : store(std::move(s)),
      tray(trayAvailable) {
    window = std::make_unique<MainWindow>(MainWindow::Environment{.store = store,
                                                                  .clock = clock,
                                                                  .audio = audio,
                                                                  .seed = 7,
                                                                  .prompts = &prompts,
                                                                  .trayAvailable = [this] { return tray; },
                                                                  .rig = rig});
}

WindowRig::~WindowRig() {
    window.reset();
}

void WindowRig::Run(int ms, int stepMs) {
    for (int t = 0; t < ms; t += stepMs) {
        clock.Advance(stepMs);
        if (window->Controls().Enabled(ControlId::Timer1))
            window->trainer().TimerTick();
        ProcessEvents(2);
    }
}

}  // namespace lumbrel::test
