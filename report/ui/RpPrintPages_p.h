// The checked output a PDF is written through, apart so that its hold on a failure can be tried.
#pragma once

#include <QIODevice>

namespace lb::report::ui {

// The PDF writer's output: an open file written through FileWrite::writeAt, which keeps the
// system's reason for a write that fails (Qt's PDF engine reports no failed write, and its own
// file loses the reason). The first failure is kept and every later write refused, so that the
// file never holds a later part after a gap, whether or not the engine writes on.
class CheckedFileOutput : public QIODevice {
public:
    // `fd` stays owned by the caller and open while the output lives.
    explicit CheckedFileOutput(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

    // 0 while every write went whole, else the system's error code (errno) of the first one
    // that did not.
    int error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 count) override;

private:
    int fd_;
    int error_ = 0;
};

} // namespace lb::report::ui
