// Adaptive splay-tree bit coder for report pages: each byte's code shortens as it recurs.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

namespace lb::report {

// Internal nodes are 0-255 with 0 the root; the leaf of byte c is node c + 256; node 512 is a
// leaf no byte uses. A new coder starts from the full tree (Left[i] = 2i + 1, Right[i] = 2i + 2),
// so bytes 0-254 start with 8-bit codes and 255 with a 9-bit code. Code bits fill each output
// byte from its least significant bit. The end of a code is not marked: the reader knows the
// byte count. Every page gets a fresh coder, so pages decode independently.
class TRpCompress {
public:
    // A writer appending its code bytes to `output` (not owned; must outlive the coder).
    explicit TRpCompress(QByteArray* output);
    // A reader of the code bytes in `input` (not copied; must outlive the coder).
    explicit TRpCompress(QByteArrayView input);
    // A writer flushes its partly filled last byte.
    ~TRpCompress();
    TRpCompress(const TRpCompress&) = delete;
    TRpCompress& operator=(const TRpCompress&) = delete;

    void Compress(std::uint8_t c);
    // Throws lb::Error when the code runs past the end of the input or reaches the unused
    // leaf (a damaged page).
    std::uint8_t Expand();

    bool Compressing() const { return compressing_; }

private:
    void Splay(std::uint8_t c);
    void Flush();

    std::array<std::uint16_t, 256> left_;
    std::array<std::uint16_t, 256> right_;
    std::array<std::uint8_t, 513> up_;  // index 1-512; up_[0] is never read
    bool compressing_;
    // Code bits not yet written (writer) or not yet used (reader), the next one lowest.
    std::uint64_t bits_ = 0;
    int count_ = 0;
    QByteArray* output_ = nullptr;
    // Whole bytes wait here before they go to the output in one append.
    char pending_[4096];
    int pendingCount_ = 0;
    QByteArrayView input_;
    qsizetype next_ = 0;                // next input byte to read
};

} // namespace lb::report
