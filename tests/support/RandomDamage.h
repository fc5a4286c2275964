// Random damage to a file's bytes, for the fuzz rounds of the tests of file readers.
#pragma once

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <random>

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
