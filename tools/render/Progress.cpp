#include "tools/render/Progress.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace lumbrel::render {

ProgressBar::ProgressBar(QString what) : what_(std::move(what)), terminal_(::isatty(STDERR_FILENO) == 1) {
    clock_.start();
}

ProgressBar::~ProgressBar() {
    if (drawn_)
        std::fputs("\r\033[K", stderr);
}

void ProgressBar::Update(double done, double total) {
    if (!terminal_)
        return;
    const qint64 now = clock_.elapsed();
    if (now < 1000 || now - lastDrawMs_ < 100)
        return;
    lastDrawMs_ = now;
    drawn_ = true;
    if (total > 0) {
        const double share = std::clamp(done / total, 0.0, 1.0);
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(share * kWidth);
        const QString bar = QString(filled, QLatin1Char('#')) + QString(kWidth - filled, QLatin1Char(' '));
        std::fprintf(stderr, "\r%s [%s] %3d%%", qPrintable(what_), qPrintable(bar),
                     static_cast<int>(share * 100));
    } else {
        std::fprintf(stderr, "\r%s %.0f s", qPrintable(what_), done);
    }
    std::fflush(stderr);
}

}  // namespace lumbrel::render
