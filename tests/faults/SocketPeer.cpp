// A plain local-socket peer for the control-socket tests, run as another user or in
// numbers where a trainer would not be:
//
//   lumbrel-socket-peer listen PATH LOG    binds PATH, answers "ok" to every request
//                                          and appends each request to LOG
//   lumbrel-socket-peer send PATH LINE     sends LINE and prints the answer (none: nothing)
//   lumbrel-socket-peer idle PATH COUNT    opens COUNT connections, sends nothing, prints
//                                          "open N" and holds them until killed
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

sockaddr_un Address(const char* path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path, sizeof(address.sun_path) - 1);
    return address;
}

int Connect(const char* path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const sockaddr_un address = Address(path);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Up to 64 bytes, waiting at most timeoutMs for each.
std::string ReadSome(int fd, int timeoutMs) {
    std::string got;
    char buffer[64];
    pollfd p{fd, POLLIN, 0};
    while (got.size() < sizeof(buffer) && ::poll(&p, 1, timeoutMs) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof(buffer) - got.size());
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
        if (got.find('\n') != std::string::npos)
            break;
    }
    return got;
}

int Listen(const char* path, const char* log) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(path);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(fd, 16) != 0) {
        std::perror("listen");
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    for (;;) {
        const int client = ::accept(fd, nullptr, nullptr);
        if (client < 0)
            continue;
        const std::string request = ReadSome(client, 2000);
        if (FILE* out = std::fopen(log, "a")) {
            std::fputs(request.c_str(), out);
            std::fclose(out);
        }
        (void)!::send(client, "ok\n", 3, MSG_NOSIGNAL);
        ::close(client);
    }
}

int Send(const char* path, const char* line) {
    const int fd = Connect(path);
    if (fd < 0) {
        std::perror("connect");
        return 1;
    }
    const std::string request = std::string(line) + "\n";
    // A server that refuses us may have closed already: no SIGPIPE, the answer is none.
    (void)!::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::fputs(ReadSome(fd, 3000).c_str(), stdout);
    ::close(fd);
    return 0;
}

int Idle(const char* path, int count) {
    std::vector<int> open;
    for (int i = 0; i < count; ++i) {
        const int fd = Connect(path);
        if (fd < 0)
            break;
        open.push_back(fd);
    }
    std::printf("open %zu\n", open.size());
    std::fflush(stdout);
    for (;;)
        ::pause();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "listen") == 0)
        return Listen(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "send") == 0)
        return Send(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "idle") == 0)
        return Idle(argv[2], std::atoi(argv[3]));
    std::fputs("usage: lumbrel-socket-peer listen PATH LOG | send PATH LINE | idle PATH COUNT\n", stderr);
    return 2;
}
