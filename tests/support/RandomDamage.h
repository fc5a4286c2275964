// Random damage to a file's bytes, for the fuzz rounds of the tests of file readers.
#pragma once

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>

// How many rounds a fuzz test runs: `ciRounds` (a second or two, as every run of the suite
// affords), or the number in the environment variable LB_FUZZ_ROUNDS for a longer run on
// demand. The seed stays fixed, so that a failure found once is found again.
inline int fuzzRounds(int ciRounds)
{
    const int asked = std::atoi(qgetenv("LB_FUZZ_ROUNDS").constData());
    return asked > 0 ? asked : ciRounds;
}

// Stores a 32-bit little-endian number at byte `at`.
inline void put32(QByteArray& bytes, qint64 at, qint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// One to three changes, each a byte replaced, four bytes replaced, a bit flipped, or the file
// cut short (no further change once it is shorter than eight bytes).
inline void damageRandomly(QByteArray& bytes, std::mt19937& random)
{
    const int changes = 1 + int(random() % 3);
    for (int i = 0; i < changes && bytes.size() >= 8; ++i) {
        const qint64 at = random() % bytes.size();
        switch (random() % 4) {
        case 0: bytes[at] = char(random()); break;
        case 1: put32(bytes, std::min<qint64>(at, bytes.size() - 4), qint32(random())); break;
        case 2: bytes.truncate(at); break;
        default: bytes[at] = char(bytes[at] ^ (1 << (random() % 8))); break;
        }
    }
}

// Bounds the time a reader takes over each input of a fuzz round: when one input takes longer
// than `limit`, the test program stops at once with a message naming it, instead of a hang
// holding the suite until the test's timeout of minutes or a slow input passing unseen. The
// input stays in its file (the temporary folder is not removed) for a rerun.
class InputDeadline {
public:
    explicit InputDeadline(std::chrono::milliseconds limit) : limit_(limit), watcher_([this] { watch(); }) {}
    ~InputDeadline()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        changed_.notify_one();
        watcher_.join();
    }
    InputDeadline(const InputDeadline&) = delete;
    InputDeadline& operator=(const InputDeadline&) = delete;

    // Starts the time of one input; `what` names it in the message.
    void start(std::string what)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            what_ = std::move(what);
            ++input_;
            running_ = true;
        }
        changed_.notify_one();
    }

    void stop()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            running_ = false;
        }
        changed_.notify_one();
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!finished_) {
            if (!running_) {
                changed_.wait(lock);
                continue;
            }
            const long long input = input_;
            if (!changed_.wait_for(lock, limit_, [&] { return finished_ || !running_ || input_ != input; })) {
                std::fprintf(stderr, "%s took longer than %lld ms\n", what_.c_str(), static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                std::_Exit(EXIT_FAILURE);
            }
        }
    }

    const std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string what_;
    long long input_ = 0;
    bool running_ = false;
    bool finished_ = false;
    std::thread watcher_; // last: it starts watching once the rest is made
};
