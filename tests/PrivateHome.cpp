#include "tests/PrivateHome.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace lumbrel::test {
namespace {

std::string& PrivateRoot()
{
    static std::string root;
    return root;
}

[[noreturn]] void Stop(const std::string& why)
{
    std::fprintf(stderr, "test: no private home folder: %s\n", why.c_str());
    std::exit(1);
}

}  // namespace

void UsePrivateHome()
{
    const char* home = std::getenv("HOME");
    const char* marked = std::getenv("LUMBREL_PRIVATE_HOME");
    if (home != nullptr && marked != nullptr && std::strcmp(home, marked) == 0)
        return;

    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/lumbrel-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        Stop(pattern + ": " + std::strerror(errno));
    PrivateRoot() = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(PrivateRoot(), ignored);
    });

    const struct {
        const char* variable;
        const char* folder;
    } folders[] = {{"HOME", "home"},          {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
                   {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"},   {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& f : folders) {
        const std::string path = pattern + "/" + f.folder;
        if (::mkdir(path.c_str(), 0700) != 0)
            Stop(path + ": " + std::strerror(errno));
        ::setenv(f.variable, path.c_str(), 1);
    }
    ::setenv("LUMBREL_PRIVATE_HOME", (pattern + "/home").c_str(), 1);
    ::unsetenv("LUMBREL_CONTROL_SOCKET");
    // libpulse would start the user's sound server for a program that finds none.
    const std::string pulse = pattern + "/pulse-client.conf";
    std::ofstream(pulse) << "autospawn = no\n";
    ::setenv("PULSE_CLIENTCONFIG", pulse.c_str(), 1);
}

}  // namespace lumbrel::test
