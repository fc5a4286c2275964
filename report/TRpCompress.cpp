// Splay-tree coder: code emission, decoding and the semi-splaying step that adapts the tree.
#include "report/TRpCompress.h"

#include "platform/sys/Errors.h"

#include <algorithm>

namespace lb::report {

namespace {

constexpr int kRoot = 0;
constexpr int kLeaves = 256;
constexpr int kUnusedLeaf = 512;

void initialTree(std::array<std::uint16_t, 256>& left, std::array<std::uint16_t, 256>& right,
                 std::array<std::uint8_t, 513>& up)
{
    for (int i = 0; i < 256; ++i) {
        left[i] = std::uint16_t(2 * i + 1);
        right[i] = std::uint16_t(2 * i + 2);
    }
    up[0] = 0;
    for (int i = 1; i <= 512; ++i)
        up[i] = std::uint8_t((i - 1) / 2);
}

} // namespace

TRpCompress::TRpCompress(QByteArray* output) : compressing_(true), output_(output)
{
    initialTree(left_, right_, up_);
}

TRpCompress::TRpCompress(QByteArrayView input) : compressing_(false), input_(input)
{
    initialTree(left_, right_, up_);
}

TRpCompress::~TRpCompress()
{
    if (!compressing_)
        return;
    // The last byte's unused high bits stay 0.
    while (count_ > 0) {
        pending_[pendingCount_++] = char(bits_ & 0xFF);
        bits_ >>= 8;
        count_ = std::max(count_ - 8, 0);
        if (pendingCount_ == int(sizeof pending_))
            Flush();
    }
    Flush();
}

void TRpCompress::Flush()
{
    output_->append(pending_, pendingCount_);
    pendingCount_ = 0;
}

void TRpCompress::Compress(std::uint8_t c)
{
    // The path is noted from the leaf up and sent from the root down, the first bit sent
    // lowest: shifting each step in at the bottom leaves the root's step as bit 0. Paths of up
    // to 56 steps (all but freak trees) go at once; longer ones in pieces.
    int a = c + kLeaves;
    std::uint64_t path = 0;
    int length = 0;
    std::uint64_t spill[5] = {};
    int spilled = 0;
    do {
        const int parent = up_[a];
        path = (path << 1) | (right_[parent] == a ? 1u : 0u);
        if (++length == 56) {
            spill[spilled++] = path;
            path = 0;
            length = 0;
        }
        a = parent;
    } while (a != kRoot);
    const auto put = [this](std::uint64_t code, int bits) {
        bits_ |= code << count_;
        count_ += bits;
        while (count_ >= 8) {
            pending_[pendingCount_++] = char(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
            if (pendingCount_ == int(sizeof pending_))
                Flush();
        }
    };
    put(path, length);
    while (spilled > 0)
        put(spill[--spilled], 56);
    Splay(c);
}

std::uint8_t TRpCompress::Expand()
{
    int a = kRoot;
    while (a < kLeaves) {
        if (count_ == 0) {
            if (next_ >= input_.size())
                throw Error(QStringLiteral("The report page is damaged: its code ends early"));
            // Up to eight bytes at once.
            const qsizetype take = std::min<qsizetype>(8, input_.size() - next_);
            bits_ = 0;
            for (qsizetype i = 0; i < take; ++i)
                bits_ |= std::uint64_t(std::uint8_t(input_[next_ + i])) << (8 * i);
            next_ += take;
            count_ = int(take * 8);
        }
        a = bits_ & 1 ? right_[a] : left_[a];
        bits_ >>= 1;
        --count_;
    }
    // Node 512 is the leaf no byte owns: only damaged code reaches it.
    if (a == kUnusedLeaf)
        throw Error(QStringLiteral("The report page is damaged: its code names no byte"));
    const auto c = std::uint8_t(a - kLeaves);
    Splay(c);
    return c;
}

void TRpCompress::Splay(std::uint8_t c)
{
    int a = c + kLeaves;
    // Stops once `a` is the root or a child of it, so the root's parent is never looked up.
    while (a != kRoot) {
        const int p = up_[a];
        if (p == kRoot)
            break;
        const int g = up_[p];
        int b = left_[g];
        if (p == b) {
            b = right_[g];
            right_[g] = std::uint16_t(a);
        } else {
            left_[g] = std::uint16_t(a);
        }
        if (a == left_[p])
            left_[p] = std::uint16_t(b);
        else
            right_[p] = std::uint16_t(b);
        up_[a] = std::uint8_t(g);
        up_[b] = std::uint8_t(p);
        a = g;
    }
}

} // namespace lb::report
