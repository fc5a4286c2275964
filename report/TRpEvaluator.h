// The report expression evaluator: compiles an expression once, then evaluates it per record.
#pragma once

#include "report/TRpEvResult.h"

#include <QList>
#include <QString>
#include <memory>

namespace lb::db {
class DataSet;
}

namespace lb::report {

class TRpEvElement;
class TRpEvEnvironment;
class TRpFiFo;

// Datasets in which field names are looked up, in search order. Not owned.
using TRpDataSetList = QList<lb::db::DataSet*>;

// Expressions name dataset fields ("AQoutdetail.amount", "amount", "[数量]"), named
// expressions of an environment, numbers, quoted texts, the operators < <= > >= = <> + - or
// * / and, "not", and the functions of the function library. Nothing is raised while
// compiling or evaluating: every fault becomes a result of kind rkError with its message.
//
// Grouping follows the four levels of the language: relations do not chain ("1=1 and 2=2" is
// an error; write "(1=1) and (2=2)"), a run of + and - or of * and / groups from the left
// ("10-2+3" is 11, "8/2*4" is 16). A sign after + or -, or at the start, is the sign of its
// operand ("10--2" is 12, "1 + -2" is -1); after * or / it needs parentheses ("2*(-3)").
class TRpEvaluator {
public:
    TRpEvaluator();
    ~TRpEvaluator();
    TRpEvaluator(const TRpEvaluator&) = delete;
    TRpEvaluator& operator=(const TRpEvaluator&) = delete;

    const TRpDataSetList& dataSets() const { return dataSets_; }
    void setDataSets(const TRpDataSetList& dataSets) { dataSets_ = dataSets; }
    // Consulted before the global environment; not owned.
    TRpEvEnvironment* environment() const { return environment_; }
    void setEnvironment(TRpEvEnvironment* environment) { environment_ = environment; }

    // Compiles the expression (an empty one as "' '", a one-blank text). Field and
    // environment names are resolved now, against the datasets and environments set.
    void prepare(const QString& expression);
    void unprepare();
    bool prepared() const { return prepared_; }

    // The value against the current rows. Raises lb::Error "Evaluator not prepared" when
    // not prepared; never otherwise.
    TRpEvResult value();
    // An accumulation pass: aggregates take the current arguments into their running values.
    void doAggregate();
    // Starts every aggregate of the expression again.
    void reset();
    // True when the expression holds an aggregate function (accumulation passes are needed).
    bool isAggregate() const;
    // prepare, value, unprepare.
    TRpEvResult calc(const QString& expression);

    // The first compiled element, or nullptr when not prepared (for the report's variables).
    TRpEvElement* firstElement() const;

private:
    void put(std::unique_ptr<TRpEvElement> element);
    void putError(const char* message, const QString& text);
    void compileExpression(const QString& text);
    // Level 2 (+ - or) and level 3 (* / and).
    void compileLevel(const QString& text, bool term);
    void compileSimpleExpression(const QString& text) { compileLevel(text, false); }
    void compileTerm(const QString& text) { compileLevel(text, true); }
    void compileFactor(const QString& text);
    void compileConstantNumber(const QString& text);
    void compileName(const QString& text);
    void compileFunctionCall(const QString& name, const QString& arguments);
    void compileIdentifier(const QString& name);
    void compileEnvironmentName(const QString& name);

    TRpDataSetList dataSets_;
    TRpEvEnvironment* environment_ = nullptr;
    std::unique_ptr<TRpFiFo> queue_;
    bool prepared_ = false;
    bool holdsGlobal_ = false; // this evaluator counted a prepare of the global environment
};

} // namespace lb::report
