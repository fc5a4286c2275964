// A forked copy of the test program doing one piece of work, ended and reaped however the test ends.
#pragma once

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// The copy runs `work`, which gets this object to talk through, and ends with _exit(its result),
// 1 if it threw: it never returns into the test framework. One byte at a time goes each way.
// Freeing the object kills the copy if it still runs and reaps it, so that an assertion failing
// while the copy waits leaves no process behind.
class ForkedChild {
public:
    explicit ForkedChild(const std::function<int(ForkedChild&)>& work)
    {
        if (::pipe(toChild_) != 0 || ::pipe(toParent_) != 0)
            return;
        pid_ = ::fork();
        // Each side keeps only its own ends, so that a read sees the other side go.
        closeEnd(pid_ == 0 ? toChild_[1] : toChild_[0]);
        closeEnd(pid_ == 0 ? toParent_[0] : toParent_[1]);
        if (pid_ != 0)
            return;
        int result = 1;
        try {
            result = work(*this);
        } catch (...) {
        }
        ::_exit(result);
    }
    ~ForkedChild()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (int* end : {&toChild_[0], &toChild_[1], &toParent_[0], &toParent_[1]})
            closeEnd(*end);
    }
    ForkedChild(const ForkedChild&) = delete;
    ForkedChild& operator=(const ForkedChild&) = delete;

    bool started() const { return pid_ > 0; }
    // To the other side, and from it (waiting for it); false when the other side is gone.
    bool send(char byte) { return ::write(pid_ == 0 ? toParent_[1] : toChild_[1], &byte, 1) == 1; }
    bool receive(char& byte) { return ::read(pid_ == 0 ? toChild_[0] : toParent_[0], &byte, 1) == 1; }
    // Waits for the copy's end and returns its wait status.
    int wait()
    {
        int status = -1;
        if (pid_ > 0)
            ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    // Ends the copy as a crash or the system would, with no destructor run.
    void kill()
    {
        if (pid_ > 0)
            ::kill(pid_, SIGKILL);
        wait();
    }

private:
    static void closeEnd(int& end)
    {
        if (end >= 0)
            ::close(end);
        end = -1;
    }

    pid_t pid_ = -1;
    int toChild_[2] = {-1, -1};
    int toParent_[2] = {-1, -1};
};
