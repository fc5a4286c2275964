// Splay-tree coder: code emission, decoding and the semi-splaying step that adapts the tree.
#include "report/TRpCompress.h"

#include "platform/sys/Errors.h"

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

TRpCompress::TRpCompress(QByteArray* output) : compressing_(true), bitPos_(0), output_(output)
{
    initialTree(left_, right_, up_);
}

TRpCompress::TRpCompress(QByteArrayView input) : compressing_(false), bitPos_(7), input_(input)
{
    initialTree(left_, right_, up_);
}

TRpCompress::~TRpCompress()
{
    if (compressing_ && bitPos_ != 0)
        output_->append(char(byte_));
}

void TRpCompress::Compress(std::uint8_t c)
{
    // The path is noted from the leaf up and emitted from the root down. A path is at most
    // 256 steps long: every internal node lies on it at most once.
    std::array<bool, 257> path;
    int length = 0;
    int a = c + kLeaves;
    do {
        const int parent = up_[a];
        path[length++] = right_[parent] == a;
        a = parent;
    } while (a != kRoot);
    while (length > 0) {
        if (path[--length])
            byte_ |= std::uint8_t(1u << bitPos_);
        if (bitPos_ == 7) {
            output_->append(char(byte_));
            bitPos_ = 0;
            byte_ = 0;
        } else {
            ++bitPos_;
        }
    }
    Splay(c);
}

std::uint8_t TRpCompress::Expand()
{
    int a = kRoot;
    while (a < kLeaves) {
        if (bitPos_ == 7) {
            if (next_ >= input_.size())
                throw Error(QStringLiteral("The report page is damaged: its code ends early"));
            byte_ = std::uint8_t(input_[next_++]);
            bitPos_ = 0;
        } else {
            ++bitPos_;
        }
        a = (byte_ >> bitPos_) & 1 ? right_[a] : left_[a];
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
