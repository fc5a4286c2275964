// Named expressions shared by the expressions of a report, and the program-wide set of them.
#pragma once

#include "report/TRpEvaluator.h"

#include <memory>
#include <vector>

namespace lb::report {

class TRpEvElement;
class TRpEvEmbeddedFunction;

// An expression names an entry as if it were a field ("PAGENUMBER"); the entry's own
// expression is compiled with the environment's datasets and evaluated by its own evaluator.
// Names are kept upper-case. While prepared (the count of prepare calls above zero) every
// entry is compiled.
class TRpEvEnvironment {
public:
    TRpEvEnvironment();
    ~TRpEvEnvironment();
    TRpEvEnvironment(const TRpEvEnvironment&) = delete;
    TRpEvEnvironment& operator=(const TRpEvEnvironment&) = delete;

    // Adds an entry; a name already present keeps its expression. In a prepared environment
    // the new entry is compiled at once.
    void addFunction(const QString& name, const QString& expression);
    // Removes an entry; an unknown name does nothing. Expressions compiled against it then
    // give "Unknown function : %s".
    void deleteFunction(const QString& name);
    void clear();
    // Renames entry `index` (names are kept upper-case); false when another entry has the name.
    bool setName(int index, const QString& name);
    // Gives entry `index` a new expression; false while the environment is prepared, whose
    // compiled expressions cannot change.
    bool setExpression(int index, const QString& expression);

    void prepare();
    void unprepare();
    bool prepared() const { return prepareCount_ > 0; }

    const TRpDataSetList& dataSets() const { return dataSets_; }
    void setDataSets(const TRpDataSetList& dataSets) { dataSets_ = dataSets; }

    int count() const { return int(items_.size()); }
    const QString& name(int index) const { return items_.at(std::size_t(index)).name; }
    QString expression(int index) const;

    // A new element referring to the named entry (compared upper-case); for an unknown name
    // an error element "Unknown function : %s" with the name as written.
    std::unique_ptr<TRpEvElement> element(const QString& name) const;
    // The named entry's value; an error result with no message for an unknown name.
    TRpEvResult value(const QString& name) const;
    // The first compiled element of the named entry; nullptr when the name is unknown or the
    // entry is not compiled. The report changes its variables through it between records.
    TRpEvElement* firstElement(const QString& name) const;

    // Change a compiled constant in place (other element kinds are left alone).
    static void setStringConstant(TRpEvElement* element, const QString& text);
    static void setIntegerConstant(TRpEvElement* element, qint32 value);
    static void setConstant(TRpEvElement* element, const TRpEvResult& value);

private:
    struct Item {
        QString name;
        std::shared_ptr<TRpEvEmbeddedFunction> entry;
    };
    const Item* find(const QString& name) const;
    void compile(const Item& item);

    std::vector<Item> items_;
    TRpDataSetList dataSets_;
    int prepareCount_ = 0;
};

// The program-wide environment, consulted after a report's own: APPSTARTTIME, APPSTARTDATE
// and APPNAME, fixed when the engine is first used.
TRpEvEnvironment& globalEnvironment();

} // namespace lb::report
