#pragma once
// A serial device in memory: which names exist or are busy, whether its lines can be
// switched, and a log of every call, shared with the test after the rig port has
// taken ownership of the driver.
#include <QString>

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "keying/SerialLines.h"

namespace lumbrel::test {

struct LineCall {
    enum Kind { Open, Dtr, Rts, Close };
    Kind kind;
    bool value = false;  // Dtr, Rts: asserted; Open: succeeded
    QString device;      // Open

    friend bool operator==(const LineCall&, const LineCall&) = default;
};

struct FakeDevice {
    std::set<QString> present;  // names that open
    std::set<QString> busy;     // names that exist but are in use
    bool dtrFails = false;
    bool rtsFails = false;
    // Pulled out: the name no longer opens, and a device still open fails every line
    // switch with an I/O error, as a hung-up terminal does.
    bool unplugged = false;

    bool open = false;
    QString openName;
    bool dtr = false;
    bool rts = false;
    std::vector<LineCall> calls;
    // Called after every call has been logged, for tests that watch the order of events.
    std::function<void(const LineCall&)> onCall;

    std::vector<LineCall> LineChanges() const {
        std::vector<LineCall> out;
        for (const LineCall& c : calls)
            if (c.kind == LineCall::Dtr || c.kind == LineCall::Rts)
                out.push_back(c);
        return out;
    }
};

class FakeSerialLines final : public SerialLines {
public:
    explicit FakeSerialLines(std::shared_ptr<FakeDevice> device) : d_(std::move(device)) {}

    bool Open(const QString& name) override {
        Close();
        bool ok = false;
        if (d_->unplugged)
            error_ = QStringLiteral("No such file or directory");
        else if (d_->busy.count(name) != 0)
            error_ = QStringLiteral("Device or resource busy");
        else if (d_->present.count(name) == 0)
            error_ = QStringLiteral("No such file or directory");
        else
            ok = true;
        if (ok) {
            error_.clear();
            d_->open = true;
            d_->openName = name;
        }
        Log({LineCall::Open, ok, name});
        return ok;
    }
    bool SetDtr(bool asserted) override { return Set(LineCall::Dtr, asserted, d_->dtrFails, d_->dtr); }
    bool SetRts(bool asserted) override { return Set(LineCall::Rts, asserted, d_->rtsFails, d_->rts); }
    void Close() override {
        if (!d_->open)
            return;
        d_->open = false;
        Log({LineCall::Close, false, {}});
    }
    QString ErrorText() const override { return error_; }
    bool DeviceLost() const override { return lost_; }

private:
    bool Set(LineCall::Kind kind, bool asserted, bool fails, bool& line) {
        lost_ = d_->open && d_->unplugged;
        if (lost_) {
            error_ = QStringLiteral("Input/output error");
            return false;
        }
        if (!d_->open || fails) {
            error_ = d_->open ? QStringLiteral("Inappropriate ioctl for device")
                              : QStringLiteral("Bad file descriptor");
            return false;
        }
        line = asserted;
        Log({kind, asserted, {}});
        return true;
    }
    void Log(const LineCall& call) {
        d_->calls.push_back(call);
        if (d_->onCall)
            d_->onCall(call);
    }

    std::shared_ptr<FakeDevice> d_;
    QString error_;
    bool lost_ = false;
};

}  // namespace lumbrel::test
