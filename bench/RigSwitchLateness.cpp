// How late the rig's lines follow the marks: a producer pushes each mark's edges, due
// one output latency ahead, as the audio callback does every 5 ms; the follower's own
// thread switches lines that note the steady clock. Its last line:
//   rig-switch lateness median N us p99 M us (K switches)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "sending/KeyEvent.h"
#include "sending/RigFollower.h"

using namespace lumbrel;

namespace {

constexpr int kMarks = 200;
constexpr std::int64_t kLatencyUs = 30'000;  // from the callback to the mark heard
constexpr std::int64_t kMarkUs = 20'000;
constexpr std::int64_t kPeriodUs = 25'000;  // one mark each

class TimedLines final : public RigLines {
public:
    explicit TimedLines(std::vector<std::int64_t>& at) : at_(at) {}
    bool Key(bool, QString*) override {
        at_.push_back(SteadyMicroseconds());
        return true;
    }
    QString DeviceName() const override { return QStringLiteral("bench"); }

private:
    std::vector<std::int64_t>& at_;
};

}  // namespace

int main() {
    KeyingEdgeQueue edges;
    RigFollower follower(edges);
    std::vector<std::int64_t> switched;
    switched.reserve(2 * kMarks);
    follower.Start(std::make_unique<TimedLines>(switched));
    std::vector<std::int64_t> due;
    const std::int64_t start = SteadyMicroseconds() + 50'000;
    for (int m = 0; m < kMarks; ++m) {
        const std::int64_t made = start + m * kPeriodUs;
        std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::microseconds(made)));
        const std::int64_t heard = made + kLatencyUs;  // marks never overlap, however late this thread wakes
        edges.Push({KeyingEdge::Kind::Mark, heard, heard + kMarkUs});
        due.push_back(heard);
        due.push_back(heard + kMarkUs);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    follower.Stop();
    if (switched.size() != due.size()) {
        std::printf("%zu switches for %zu edges\n", switched.size(), due.size());
        return 1;
    }
    std::vector<std::int64_t> late(due.size());
    for (std::size_t i = 0; i < due.size(); ++i)
        late[i] = switched[i] - due[i];
    std::sort(late.begin(), late.end());
    std::printf("rig-switch lateness median %lld us p99 %lld us (%zu switches)\n",
                static_cast<long long>(late[late.size() / 2]),
                static_cast<long long>(late[late.size() * 99 / 100]), late.size());
    return 0;
}
