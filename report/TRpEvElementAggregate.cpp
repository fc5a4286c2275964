// The aggregate functions of report expressions: running values and their rules.
#include "report/TRpEvElementAggregate.h"

#include "report/TRpEvMessages.h"
#include "report/TRpFiFo.h"

#include <cstdint>

namespace lb::report {

TRpEvElementAggregate::TRpEvElementAggregate(Kind kind, const QString& name)
    : TRpEvElementFunction(name), kind_(kind)
{
    isAggregate_ = true;
}

void TRpEvElementAggregate::value(TRpFiFo& queue, TRpEvResult& result)
{
    if (kind_ != Kind::Count) {
        TRpEvElementFunction::value(queue, result);
        return;
    }
    getArguments(queue);
    if (argumentCount() > 0) {
        result.setError(QStringLiteral("COUNT - ") + QLatin1String(msg::TooManyArguments));
    } else {
        if (queue.aggregating())
            ++count_;
        result = TRpEvResult::integer(count_);
    }
    freeArguments();
}

void TRpEvElementAggregate::aggregate()
{
    if (argumentCount() != 1) {
        running_.setError(rpFormat(msg::WrongArguments, name()));
        assigned_ = true;
    } else if (kind_ == Kind::Sum || kind_ == Kind::Average) {
        addToSum(argument(0));
    } else {
        takeExtreme(argument(0));
    }
    if (kind_ != Kind::Average)
        return;
    ++count_;
    if (running_.kind == rkInteger)
        average_ = TRpEvResult::number(running_.intValue * 1.0 / count_);
    else if (running_.kind == rkDouble)
        average_ = TRpEvResult::number(running_.doubleValue / count_);
    else
        average_ = TRpEvResult::error(running_.strValue());
}

void TRpEvElementAggregate::addToSum(const TRpEvResult& value)
{
    const bool numeric = value.kind == rkInteger || value.kind == rkDouble;
    if (!assigned_) {
        assigned_ = true;
        running_ = value;
        if (!numeric)
            running_.setError(value.kind == rkError ? value.strValue() : rpFormat(msg::WrongArguments, name()));
        return;
    }
    if (running_.kind == rkError)
        return;
    if (value.kind == rkString) {
        running_.setError(rpFormat(msg::WrongArguments, name()));
    } else if (value.kind == rkInteger && running_.kind == rkInteger) {
        running_.intValue = static_cast<qint32>(std::uint32_t(running_.intValue) + std::uint32_t(value.intValue));
    } else if (numeric) {
        // A span that mixes integers and doubles sums as doubles rather than losing either.
        const double sum = (running_.kind == rkInteger ? running_.intValue * 1.0 : running_.doubleValue)
            + (value.kind == rkInteger ? value.intValue * 1.0 : value.doubleValue);
        running_ = TRpEvResult::number(sum);
    }
    // Booleans and errors met after the first value are ignored.
}

void TRpEvElementAggregate::takeExtreme(const TRpEvResult& value)
{
    if (!assigned_) {
        assigned_ = true;
        running_ = value;
        return;
    }
    const bool greater = kind_ == Kind::Max;
    auto better = [greater](auto candidate, auto current) {
        return greater ? current < candidate : candidate < current;
    };
    switch (running_.kind) {
    case rkInteger:
        if (value.kind == rkInteger && better(value.intValue, running_.intValue))
            running_.intValue = value.intValue;
        else if (value.kind == rkDouble && better(value.doubleValue, running_.intValue * 1.0))
            running_ = value;
        break;
    case rkDouble:
        if (value.kind == rkDouble && better(value.doubleValue, running_.doubleValue))
            running_.doubleValue = value.doubleValue;
        else if (value.kind == rkInteger && better(value.intValue * 1.0, running_.doubleValue))
            running_.doubleValue = value.intValue * 1.0;
        break;
    case rkString:
        if (value.kind == rkString && better(rpCompareText(value.strValue(), running_.strValue()), 0))
            running_.setStrValue(value.strValue());
        break;
    case rkBoolean:
        // MAX keeps true once met, MIN keeps false once met.
        if (value.kind == rkBoolean && better(value.boolValue, running_.boolValue))
            running_.boolValue = value.boolValue;
        break;
    case rkError:
        break;
    }
}

void TRpEvElementAggregate::calculate(TRpEvResult& result)
{
    if (kind_ == Kind::Average)
        result = average_;
    else if (assigned_)
        result = running_;
    else
        result = TRpEvResult::integer(0);
}

void TRpEvElementAggregate::reset()
{
    running_ = TRpEvResult();
    assigned_ = false;
    count_ = 0;
    average_ = TRpEvResult::number(0.0);
}

} // namespace lb::report
