#pragma once
// A progress bar on standard error, for renders that take a while: shown only when
// standard error is a terminal and the render has run for more than a second, redrawn
// at most ten times a second, and cleared at the end.
#include <QElapsedTimer>
#include <QString>

namespace lumbrel::render {

class ProgressBar {
public:
    explicit ProgressBar(QString what);
    ~ProgressBar();

    // done of total (any unit); total 0 shows only what has been done, as `done` seconds.
    void Update(double done, double total);

private:
    QString what_;
    QElapsedTimer clock_;
    qint64 lastDrawMs_ = -1000;
    bool terminal_ = false;
    bool drawn_ = false;
};

}  // namespace lumbrel::render
