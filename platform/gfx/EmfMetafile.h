// A checked enhanced metafile: its bytes and its decoded records.
#pragma once

#include "platform/gfx/EmfRecord.h"

#include <QByteArray>
#include <QRect>
#include <QSizeF>

#include <vector>

namespace lb::gfx {

// A page as the report engine records it. Built only from bytes that passed every check, so
// the player and the text search can rely on counts, offsets and sizes.
class EmfMetafile {
public:
    // Largest metafile accepted; a report page is a few kilobytes.
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;
    // Bytes of the header record that tell the metafile's total size.
    static constexpr int kSizePrefix = 56;
    // Resolutions a reference device may have (about 2.5 to 25400 pixels per inch), and how far
    // its horizontal and vertical resolutions may differ.
    static constexpr double kMinPixelsPerMm = 0.1;
    static constexpr double kMaxPixelsPerMm = 1000;
    static constexpr double kMaxAspect = 16;

    EmfMetafile() = default;

    // Checks and decodes `bytes`: the header record (type, size, signature, the size of the whole
    // metafile, record and handle counts, description bounds), every record's size (at least 8,
    // a multiple of 4, inside the metafile), the fixed size of each drawing record, the counts and
    // offsets inside text records, and a final EOF record; the reference device must have a
    // plausible resolution and the page frame must lie on it, at least one pixel each way.
    // Throws lb::Error naming the first fault.
    static EmfMetafile fromBytes(const QByteArray& bytes);

    // The total size a metafile declares in its first kSizePrefix bytes, so that a reader can
    // take it from a stream; throws lb::Error when those bytes are no metafile header or the
    // size is not between the header size and kMaxBytes.
    static qint64 declaredSize(const char* prefix, qint64 length);

    const QByteArray& bytes() const { return bytes_; }
    const std::vector<EmfRecord>& records() const { return records_; }
    bool isEmpty() const { return bytes_.isEmpty(); }

    // Drawn area in logical units, inclusive as the header keeps it.
    QRect bounds() const { return bounds_; }
    // Page area in hundredths of a millimetre, inclusive as the header keeps it.
    QRect frame() const { return frame_; }
    // Size of the page in millimetres, from the frame.
    QSizeF sizeMm() const;
    // Size of the page in logical units (pixels of the reference device).
    QSizeF sizeLogical() const;
    // Handle table size the header declares (slot 0 is reserved).
    int handleCount() const { return handles_; }

private:
    QByteArray bytes_;
    std::vector<EmfRecord> records_;
    QRect bounds_;
    QRect frame_;
    QSize device_;       // reference device in pixels
    QSizeF deviceMm_;    // reference device in millimetres
    int handles_ = 0;
};

} // namespace lb::gfx
