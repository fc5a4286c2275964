// Outline entries of a report: captions with their page and place, shown as a tree.
#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace lb::report {

// No layout of the program adds entries, so the preview's outline tree stays empty; the list
// is kept for reports that will.
class TRpOutline {
public:
    struct Entry {
        QString caption;
        int level = 0;
        int page = 0;
        QRect rect;
        QString id;
    };

    void Add(Entry entry) { entries_.push_back(std::move(entry)); }
    void Clear() { entries_.clear(); }
    const std::vector<Entry>& Entries() const { return entries_; }
    // The entry with `id`; an empty rectangle and page 0 when none has it.
    Entry Find(const QString& id) const;

private:
    std::vector<Entry> entries_;
};

} // namespace lb::report
