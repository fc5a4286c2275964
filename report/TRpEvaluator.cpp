// The report expression evaluator: the four compilation levels, names, calls and evaluation.
#include "report/TRpEvaluator.h"

#include "platform/db/DataSet.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "report/TRpEvElementArgumentEnd.h"
#include "report/TRpEvElementConstant.h"
#include "report/TRpEvElementDataField.h"
#include "report/TRpEvElementError.h"
#include "report/TRpEvElementNot.h"
#include "report/TRpEvElementOperator.h"
#include "report/TRpEvElementString.h"
#include "report/TRpEvEnvironment.h"
#include "report/TRpEvMessages.h"
#include "report/TRpFiFo.h"
#include "report/TRpFunctionLibrary.h"

#include <limits>

namespace lb::report {

namespace {

const QChar ArgumentSeparator = QLatin1Char(',');

// Tracks whether a position of an expression text lies at its top level: outside
// parentheses, quoted texts and bracketed names. A quote inside brackets is part of the name.
class TopLevel {
public:
    void step(QChar c)
    {
        if (c == QLatin1Char('\'') && !bracket_)
            quote_ = !quote_;
        else if (quote_)
            return;
        else if (c == QLatin1Char('['))
            bracket_ = true;
        else if (c == QLatin1Char(']'))
            bracket_ = false;
        else if (bracket_)
            return;
        else if (c == QLatin1Char('('))
            ++depth_;
        else if (c == QLatin1Char(')'))
            --depth_;
    }
    bool atTop() const { return depth_ == 0 && !quote_ && !bracket_; }

private:
    int depth_ = 0;
    bool quote_ = false;
    bool bracket_ = false;
};

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
bool isNameChar(QChar c) { return isDigit(c) || isLetter(c) || c == QLatin1Char('_') || c == QLatin1Char('.'); }

// Whether the word (compared lower-case) stands at `pos` of `text`.
bool wordAt(const QString& text, qsizetype pos, const char* word)
{
    return text.mid(pos, qsizetype(qstrlen(word))).toLower() == QLatin1String(word);
}

// A sign is unary when nothing but an operator (or the start of the text) stands before it.
bool isUnarySign(const QString& text, qsizetype pos)
{
    qsizetype i = pos - 1;
    while (i >= 0 && text.at(i) == QLatin1Char(' '))
        --i;
    if (i < 0)
        return true;
    if (QStringLiteral("+-*/<>=").contains(text.at(i)))
        return true;
    qsizetype start = i;
    while (start > 0 && isNameChar(text.at(start - 1)))
        --start;
    const QString word = text.mid(start, i - start + 1).toLower();
    return word == QLatin1String("or") || word == QLatin1String("and") || word == QLatin1String("not");
}

// Exchanges the two operators of a level at the top level of the text, so that the
// right-nested split of "a-b+c" computes a-(b-c). Signs of operands are left alone.
QString swapOperators(const QString& text, QChar first, QChar second, bool keepSigns)
{
    QString out = text;
    TopLevel level;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        level.step(c);
        if (!level.atTop() || (c != first && c != second))
            continue;
        if (keepSigns && isUnarySign(text, i))
            continue;
        out[i] = c == first ? second : first;
    }
    return out;
}

// The operators of levels 2 and 3: a plain one, an inverse one after which the two are
// exchanged (so "a-b+c" computes a-(b-c)), and a word operator standing after a blank.
struct LevelOperators {
    char plain;
    TRpOperator plainOp;
    char inverse;
    TRpOperator inverseOp;
    const char* word;
    TRpOperator wordOp;
    bool signs; // + and - are also signs of operands
};
constexpr LevelOperators kSimpleOperators{'+', opPlus, '-', opMinus, "or", opOr, true};
constexpr LevelOperators kTermOperators{'*', opMul, '/', opDiv, "and", opAnd, false};

// The first position from `from` on that lies at the top level of the text and satisfies
// `wanted`, or -1. The last character is never examined: no operator or separator ends a text.
template <typename Wanted>
qsizetype findAtTopLevel(const QString& text, qsizetype from, Wanted wanted)
{
    TopLevel level;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        level.step(text.at(i));
        if (i >= from && level.atTop() && wanted(i))
            return i;
    }
    return -1;
}

// Position of the first argument separator at the top level, or -1.
qsizetype findArgumentEnd(const QString& text)
{
    return findAtTopLevel(text, 0, [&text](qsizetype i) { return text.at(i) == ArgumentSeparator; });
}

} // namespace

TRpEvaluator::TRpEvaluator() = default;

TRpEvaluator::~TRpEvaluator()
{
    if (prepared_)
        unprepare();
}

void TRpEvaluator::prepare(const QString& expression)
{
    if (prepared_)
        unprepare();
    // The global environment's own entries do not count themselves, or its count would
    // never fall back to zero.
    TRpEvEnvironment& global = globalEnvironment();
    if (environment_ != &global) {
        global.prepare();
        holdsGlobal_ = true;
    }
    queue_ = std::make_unique<TRpFiFo>();
    compileExpression(expression.isEmpty() ? QStringLiteral("' '") : expression);
    prepared_ = true;
}

void TRpEvaluator::unprepare()
{
    queue_.reset();
    prepared_ = false;
    if (holdsGlobal_) {
        holdsGlobal_ = false;
        globalEnvironment().unprepare();
    }
}

TRpEvResult TRpEvaluator::value()
{
    if (!prepared_)
        throw lb::Error(QString::fromLatin1(msg::NotPrepared));
    queue_->start();
    TRpEvResult result;
    TRpEvElement* first = queue_->get();
    if (!first)
        result.setError(QString());
    else
        first->value(*queue_, result);
    return result;
}

void TRpEvaluator::doAggregate()
{
    if (!prepared_)
        throw lb::Error(QString::fromLatin1(msg::NotPrepared));
    queue_->setAggregating(true);
    value();
    queue_->setAggregating(false);
}

void TRpEvaluator::reset()
{
    if (!queue_)
        return;
    for (const auto& element : queue_->elements())
        element->reset();
}

bool TRpEvaluator::isAggregate() const
{
    if (!queue_)
        return false;
    for (const auto& element : queue_->elements()) {
        if (element->isAggregate())
            return true;
    }
    return false;
}

TRpEvResult TRpEvaluator::calc(const QString& expression)
{
    prepare(expression);
    TRpEvResult result = value();
    unprepare();
    return result;
}

TRpEvElement* TRpEvaluator::firstElement() const
{
    if (!queue_ || queue_->isEmpty())
        return nullptr;
    return queue_->elements().front().get();
}

void TRpEvaluator::put(std::unique_ptr<TRpEvElement> element)
{
    queue_->put(std::move(element));
}

void TRpEvaluator::putError(const char* message, const QString& text)
{
    put(std::make_unique<TRpEvElementError>(rpFormat(message, text)));
}

// Level 1: one relation; its two sides are simple expressions. An operator counts from the
// second character on.
void TRpEvaluator::compileExpression(const QString& text)
{
    const qsizetype i = findAtTopLevel(text, 1, [&text](qsizetype at) {
        return QStringLiteral("<=>").contains(text.at(at));
    });
    if (i < 0) {
        compileSimpleExpression(text);
        return;
    }
    const QChar c = text.at(i);
    const QChar next = text.at(i + 1);
    TRpOperator op = opEqual;
    if (c == QLatin1Char('<'))
        op = next == QLatin1Char('>') ? opUnequal : (next == QLatin1Char('=') ? opLessOrEqual : opLess);
    else if (c == QLatin1Char('>'))
        op = next == QLatin1Char('=') ? opGreaterOrEqual : opGreater;
    const int width = op == opUnequal || op == opLessOrEqual || op == opGreaterOrEqual ? 2 : 1;
    put(std::make_unique<TRpEvElementOperator>(op));
    compileSimpleExpression(text.left(i));
    compileSimpleExpression(text.mid(i + width));
}

// Levels 2 and 3 alike: the first top-level operator of the level splits the text; the text
// before it goes one level down and the rest comes back to this level.
void TRpEvaluator::compileLevel(const QString& text, bool term)
{
    const LevelOperators& ops = term ? kTermOperators : kSimpleOperators;
    const QLatin1Char plain(ops.plain);
    const QLatin1Char inverse(ops.inverse);
    const QString word = QLatin1String(ops.word) + QLatin1Char(' ');
    const qsizetype i = findAtTopLevel(text, 1, [&](qsizetype at) {
        const QChar c = text.at(at);
        // A sign with only blanks before it is the sign of the first operand ("1 + -2").
        if (c == plain || c == inverse)
            return !(ops.signs && text.left(at).trimmed().isEmpty());
        return c == QLatin1Char(' ') && text.mid(at + 1, word.size()).toLower() == word;
    });
    const auto lower = [this, term](const QString& left) {
        if (term)
            compileFactor(left);
        else
            compileLevel(left, true);
    };
    if (i < 0) {
        lower(text);
        return;
    }
    if (text.at(i) == QLatin1Char(' ')) {
        put(std::make_unique<TRpEvElementOperator>(ops.wordOp));
        lower(text.left(i + 1));
        compileLevel(text.mid(i + word.size()), term);
        return;
    }
    const bool isInverse = text.at(i) == inverse;
    put(std::make_unique<TRpEvElementOperator>(isInverse ? ops.inverseOp : ops.plainOp));
    lower(text.left(i));
    QString right = text.mid(i + 1);
    if (isInverse)
        right = swapOperators(right, plain, inverse, ops.signs);
    compileLevel(right, term);
}

// Level 4: not, numbers, names, bracketed names, quoted texts, parentheses, signs.
void TRpEvaluator::compileFactor(const QString& text)
{
    const QString t = text.trimmed();
    // "not" followed by more of a name is a name ("notes"), not a negation.
    if (wordAt(t, 0, "not") && (t.size() == 3 || !isNameChar(t.at(3)))) {
        put(std::make_unique<TRpEvElementNot>());
        compileSimpleExpression(t.mid(3));
        return;
    }
    const QChar c = t.isEmpty() ? QChar() : t.at(0);
    auto enclosed = [&t](char close) { return t.size() >= 2 && t.endsWith(QLatin1Char(close)); };
    if (isDigit(c)) {
        compileConstantNumber(t);
    } else if (isLetter(c)) {
        compileName(t);
    } else if (c == QLatin1Char('[')) {
        if (enclosed(']'))
            compileIdentifier(t.mid(1, t.size() - 2));
        else
            putError(msg::Missing, QStringLiteral("]"));
    } else if (c == QLatin1Char('\'')) {
        if (enclosed('\''))
            put(std::make_unique<TRpEvElementString>(t.mid(1, t.size() - 2)));
        else
            putError(msg::Missing, QStringLiteral("'"));
    } else if (c == QLatin1Char('(')) {
        if (enclosed(')'))
            compileExpression(t.mid(1, t.size() - 2));
        else
            putError(msg::Missing, QStringLiteral(")"));
    } else if (c == QLatin1Char('+')) {
        compileFactor(t.mid(1));
    } else if (c == QLatin1Char('-')) {
        compileSimpleExpression(QStringLiteral("0-") + t.mid(1));
    } else {
        putError(msg::ErrorInExpression, t);
    }
}

void TRpEvaluator::compileConstantNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && isDigit(text.at(i)))
        ++i;
    for (qsizetype j = i; j < text.size(); ++j) {
        const QChar c = text.at(j);
        if (!isDigit(c) && !QStringLiteral("+-.Ee").contains(c)) {
            putError(msg::IllegalNumber, text);
            return;
        }
    }
    if (i == text.size()) {
        bool ok = false;
        const qlonglong whole = text.toLongLong(&ok);
        if (ok && whole <= std::numeric_limits<qint32>::max()) {
            put(std::make_unique<TRpEvElementConstant>(TRpEvResult::integer(qint32(whole))));
            return;
        }
    }
    double value = 0.0;
    if (!lb::fmt::tryStrToFloat(text, value)) {
        putError(msg::IllegalNumber, text);
        return;
    }
    put(std::make_unique<TRpEvElementConstant>(TRpEvResult::number(value)));
}

void TRpEvaluator::compileName(const QString& text)
{
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0)
        compileFunctionCall(text, QString());
    else if (text.endsWith(QLatin1Char(')')))
        compileFunctionCall(text.left(open), text.mid(open + 1, text.size() - open - 2));
    else
        putError(msg::Missing, QStringLiteral(")"));
}

void TRpEvaluator::compileFunctionCall(const QString& name, const QString& arguments)
{
    const TRpLibraryEntry* entry = functionLibrary().find(name);
    if (!entry) {
        if (arguments.isEmpty())
            compileIdentifier(name);
        else
            putError(msg::UnknownFunction, name);
        return;
    }
    put(entry->functionClass());
    QString rest = arguments;
    for (qsizetype end = findArgumentEnd(rest); end >= 0; end = findArgumentEnd(rest)) {
        compileExpression(rest.left(end));
        rest = rest.mid(end + 1);
    }
    if (!rest.isEmpty())
        compileExpression(rest);
    put(std::make_unique<TRpEvElementArgumentEnd>());
}

void TRpEvaluator::compileIdentifier(const QString& name)
{
    if (!dataSets_.isEmpty()) {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        const QString dataSetName = dot < 0 ? QString() : name.left(dot).toUpper();
        const QString fieldName = (dot < 0 ? name : name.mid(dot + 1)).toUpper();
        for (lb::db::DataSet* dataSet : std::as_const(dataSets_)) {
            if (!dataSet)
                continue;
            const bool named = !dataSetName.isEmpty();
            if (named && dataSet->objectName().toUpper() != dataSetName)
                continue;
            if (lb::db::Field* field = dataSet->findField(fieldName)) {
                put(std::make_unique<TRpEvElementDataField>(dataSet, field->fieldName(), name));
                return;
            }
            if (named)
                break;
        }
    }
    compileEnvironmentName(name);
}

void TRpEvaluator::compileEnvironmentName(const QString& name)
{
    if (environment_) {
        std::unique_ptr<TRpEvElement> element = environment_->element(name);
        if (!dynamic_cast<TRpEvElementError*>(element.get())) {
            put(std::move(element));
            return;
        }
    }
    put(globalEnvironment().element(name));
}

} // namespace lb::report
