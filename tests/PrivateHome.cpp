#include "tests/PrivateHome.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace lumbrel::test {

void UsePrivateHome() {
    const char* home = std::getenv("HOME");
    const char* marked = std::getenv("LUMBREL_PRIVATE_HOME");
    if (home != nullptr && marked != nullptr && std::strcmp(home, marked) == 0)
        return;
    const char* tmp = std::getenv("TMPDIR");
    static std::string root =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/lumbrel-test-XXXXXX";
    bool made = ::mkdtemp(root.data()) != nullptr;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    });
    for (const char* pair :
         {"HOME=home", "XDG_CONFIG_HOME=config", "XDG_DATA_HOME=data", "XDG_CACHE_HOME=cache",
          "XDG_STATE_HOME=state", "XDG_RUNTIME_DIR=runtime", "LUMBREL_PRIVATE_HOME=home"}) {
        const std::string variable(pair, std::strchr(pair, '='));
        const std::string path = root + '/' + (std::strchr(pair, '=') + 1);
        made = made && (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST);
        ::setenv(variable.c_str(), path.c_str(), 1);
    }
    if (!made) {
        std::fprintf(stderr, "no private home folder in %s: %s\n", root.c_str(), std::strerror(errno));
        std::exit(1);
    }
    ::unsetenv("LUMBREL_CONTROL_SOCKET");
    // libpulse would start the user's sound server for a program that finds none.
    std::ofstream(root + "/pulse-client.conf") << "autospawn = no\n";
    ::setenv("PULSE_CLIENTCONFIG", (root + "/pulse-client.conf").c_str(), 1);
}

}  // namespace lumbrel::test
