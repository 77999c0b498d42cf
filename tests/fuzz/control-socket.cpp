// The input is what a client sends on the control socket, after one option byte:
//
//   bits 0-3   how the bytes are cut into writes: 0 all at once, n writes of n bytes
//   bits 4-5   what the trainer says to a start: 0 taken, 1 setup dialog open, 2 Drills
//              window open
//
// The request read from every prefix of the bytes must agree with a plain reading (one
// line of at most 64 bytes; start, stop or show, blanks around it allowed), and once
// decided must stay so however many bytes follow. Then a real server, listening in a
// private folder, is sent the bytes as cut: it answers at most one line, exactly what
// the request calls for ("ok", "busy", "busy drills", "unknown", or nothing at all for
// a line too long), posts at most one message to its window, and holds no connection
// afterwards. An answer read by the client means what it says.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "audio/MessageQueue.h"
#include "tests/fuzz/FuzzSupport.h"
#include "ui/RemoteControl.h"

using namespace lumbrel;

namespace {

// The plain reading: the first line, if it ends within 64 bytes.
RemoteRequest PlainReading(QByteArrayView bytes) {
    RemoteRequest request;
    qsizetype end = -1;
    for (qsizetype i = 0; i < bytes.size() && i < kMaxRemoteLineBytes; ++i)
        if (bytes[i] == '\n') {
            end = i;
            break;
        }
    if (end < 0) {
        request.state = bytes.size() >= kMaxRemoteLineBytes ? RemoteRequest::State::Bad
                                                            : RemoteRequest::State::Incomplete;
        return request;
    }
    request.state = RemoteRequest::State::Complete;
    const QByteArray line = bytes.first(end).toByteArray().trimmed();
    if (line == "start")
        request.command = RemoteCommand::Start;
    else if (line == "stop")
        request.command = RemoteCommand::Stop;
    else if (line == "show")
        request.command = RemoteCommand::Show;
    return request;
}

bool Same(const RemoteRequest& a, const RemoteRequest& b) {
    return a.state == b.state && a.command == b.command;
}

struct Server {
    Server() {
        static int argc = 1;
        static char name[] = "lumbrel-fuzz-control-socket";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            app = std::make_unique<QCoreApplication>(argc, argv);
        path = fuzz::DataFolder() + QStringLiteral("/control");
        server.SetStartRefusal([this] { return refusal; });
        server.SetShowRequested([this] { ++shown; });
        FUZZ_CHECK(server.Listen(path));
    }
    std::unique_ptr<QCoreApplication> app;
    MessageQueue queue;
    RemoteControlServer server{queue};
    QString path;
    StartRefusal refusal = StartRefusal::None;
    int shown = 0;
};

QByteArray Expected(const RemoteRequest& request, StartRefusal refusal) {
    if (request.state == RemoteRequest::State::Bad)
        return {};
    if (!request.command)
        return "unknown\n";
    if (*request.command == RemoteCommand::Start && refusal == StartRefusal::SetupOpen)
        return "busy\n";
    if (*request.command == RemoteCommand::Start && refusal == StartRefusal::DrillsOpen)
        return "busy drills\n";
    return "ok\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int cut = data[0] & 0x0f;
    const int says = (data[0] >> 4) & 0x03;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    // Every prefix, as the bytes come in.
    std::optional<RemoteRequest> decided;
    qsizetype decidedAt = 0;
    for (qsizetype n = 0; n <= bytes.size(); ++n) {
        const RemoteRequest request = ReadRemoteRequest(bytes.first(n).toByteArray());
        FUZZ_CHECK(Same(request, PlainReading(bytes.first(n))));
        if (decided)
            FUZZ_CHECK(Same(request, *decided));
        else if (request.state != RemoteRequest::State::Incomplete) {
            decided = request;
            decidedAt = n;
        }
    }
    const RemoteResult read = ReadRemoteAnswer(bytes.toByteArray());
    FUZZ_CHECK(read.delivered ==
               (bytes.first(std::min<qsizetype>(bytes.size(), kMaxRemoteLineBytes)).toByteArray().trimmed() ==
                "ok"));
    FUZZ_CHECK(read.delivered != !read.error.isEmpty());
    // A request that never ends waits for the server's read timeout: not worth seconds.
    if (!decided)
        return 0;

    static Server s;
    s.refusal = says == 1   ? StartRefusal::SetupOpen
                : says == 2 ? StartRefusal::DrillsOpen
                            : StartRefusal::None;
    s.queue.Drain();
    s.shown = 0;
    QLocalSocket client;
    client.connectToServer(s.path);
    FUZZ_CHECK(client.waitForConnected(1000));
    // The bytes up to the decision as cut, the server running between the writes; what
    // follows goes with the last of them, before the server can have answered and closed.
    QByteArray answer;
    for (qsizetype at = 0; at < decidedAt;) {
        const qsizetype n = cut == 0 ? decidedAt - at : std::min<qsizetype>(cut, decidedAt - at);
        client.write(bytes.sliced(at, n).data(), n);
        at += n;
        if (at == decidedAt)
            client.write(bytes.sliced(decidedAt).data(), bytes.size() - decidedAt);
        client.flush();
        if (at < decidedAt)
            QCoreApplication::processEvents();
    }
    QElapsedTimer timer;
    timer.start();
    while (client.state() == QLocalSocket::ConnectedState && timer.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        client.waitForReadyRead(5);
        if (client.isOpen())
            answer += client.readAll();
    }
    if (client.isOpen())
        answer += client.readAll();
    FUZZ_CHECK(client.state() != QLocalSocket::ConnectedState);
    FUZZ_CHECK(answer == Expected(*decided, s.refusal));

    const std::vector<Message> posted = s.queue.Drain();
    const bool started = decided->command == RemoteCommand::Start && s.refusal == StartRefusal::None;
    const bool stopped = decided->command == RemoteCommand::Stop;
    FUZZ_CHECK(posted.size() == (started || stopped ? 1u : 0u));
    if (started)
        FUZZ_CHECK(posted[0].message == kStartRequestMessage);
    if (stopped)
        FUZZ_CHECK(posted[0].message == kStopRequestMessage);
    FUZZ_CHECK(s.shown == (decided->command == RemoteCommand::Show ? 1 : 0));
    for (int i = 0; i < 20 && s.server.OpenConnections() > 0; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    FUZZ_CHECK(s.server.OpenConnections() == 0);
    return 0;
}
