#pragma once
// Ways to make the system fail on purpose, shared by the fault tests.
#include <QString>

#include "tests/FileSizeLimit.h"

#include <csignal>

#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lumbrel::test {

// Folder permissions do not hold for root. Run as root, the tests that need them act as
// the unprivileged user "nobody" while this lives (the effective user id of the whole
// process); `folder` is handed to that user first. Otherwise it does nothing.
class WithoutRoot {
public:
    explicit WithoutRoot(const QString& folder) {
        if (::geteuid() != 0) {
            ok_ = true;
            return;
        }
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody || nobody->pw_uid == 0)
            return;
        if (::chown(folder.toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid) != 0)
            return;
        ok_ = switched_ = ::seteuid(nobody->pw_uid) == 0;
    }
    ~WithoutRoot() {
        // Back to root; a failure here leaves nothing better to do.
        if (switched_ && ::seteuid(0) != 0)
            return;
    }
    WithoutRoot(const WithoutRoot&) = delete;
    WithoutRoot& operator=(const WithoutRoot&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
    bool switched_ = false;
};

}  // namespace lumbrel::test
