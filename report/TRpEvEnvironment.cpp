// Named expressions of a report and of the whole program: entries, preparation, look-up.
#include "report/TRpEvEnvironment.h"

#include "platform/sys/Clock.h"
#include "platform/sys/TextFormat.h"
#include "report/RpBuiltinFunctions.h"
#include "report/TRpEvElementConstant.h"
#include "report/TRpEvElementError.h"
#include "report/TRpEvElementString.h"
#include "report/TRpEvElementWrapper.h"
#include "report/TRpEvEmbeddedFunction.h"
#include "report/TRpEvMessages.h"
#include "report/TRpFiFo.h"

#include <QCoreApplication>

namespace lb::report {

TRpEvEnvironment::TRpEvEnvironment() = default;

TRpEvEnvironment::~TRpEvEnvironment()
{
    clear();
}

void TRpEvEnvironment::addFunction(const QString& name, const QString& expression)
{
    const QString key = name.toUpper();
    if (find(key))
        return;
    items_.push_back({key, std::make_shared<TRpEvEmbeddedFunction>(expression)});
    if (prepared())
        compile(items_.back());
}

void TRpEvEnvironment::deleteFunction(const QString& name)
{
    const QString key = name.toUpper();
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->name == key) {
            items_.erase(it);
            return;
        }
    }
}

bool TRpEvEnvironment::setName(int index, const QString& name)
{
    const QString key = name.toUpper();
    const Item* other = find(key);
    if (other && other != &items_.at(std::size_t(index)))
        return false;
    items_.at(std::size_t(index)).name = key;
    return true;
}

bool TRpEvEnvironment::setExpression(int index, const QString& expression)
{
    if (prepared())
        return false;
    items_.at(std::size_t(index)).entry = std::make_shared<TRpEvEmbeddedFunction>(expression);
    return true;
}

void TRpEvEnvironment::clear()
{
    while (!items_.empty())
        items_.pop_back();
}

void TRpEvEnvironment::compile(const Item& item)
{
    TRpEvaluator& evaluator = item.entry->evaluator();
    evaluator.setDataSets(dataSets_);
    evaluator.setEnvironment(this);
    evaluator.prepare(item.entry->expression());
}

void TRpEvEnvironment::prepare()
{
    if (++prepareCount_ > 1)
        return;
    // An entry may be added while others compile (by nothing today); index, not iterators.
    for (std::size_t i = 0; i < items_.size(); ++i)
        compile(items_[i]);
}

void TRpEvEnvironment::unprepare()
{
    if (prepareCount_ == 0)
        return;
    if (--prepareCount_ > 0)
        return;
    for (const Item& item : items_)
        item.entry->evaluator().unprepare();
}

QString TRpEvEnvironment::expression(int index) const
{
    return items_.at(std::size_t(index)).entry->expression();
}

const TRpEvEnvironment::Item* TRpEvEnvironment::find(const QString& name) const
{
    const QString key = name.toUpper();
    for (const Item& item : items_) {
        if (item.name == key)
            return &item;
    }
    return nullptr;
}

std::unique_ptr<TRpEvElement> TRpEvEnvironment::element(const QString& name) const
{
    if (const Item* item = find(name))
        return std::make_unique<TRpEvElementWrapper>(item->entry, name);
    return std::make_unique<TRpEvElementError>(rpFormat(msg::UnknownFunction, name));
}

TRpEvResult TRpEvEnvironment::value(const QString& name) const
{
    TRpEvResult result;
    const Item* item = find(name);
    if (!item) {
        result.setError(QString());
        return result;
    }
    TRpEvElementWrapper wrapper(item->entry, name);
    TRpFiFo none;
    wrapper.value(none, result);
    return result;
}

TRpEvElement* TRpEvEnvironment::firstElement(const QString& name) const
{
    const Item* item = find(name);
    return item ? item->entry->evaluator().firstElement() : nullptr;
}

void TRpEvEnvironment::setStringConstant(TRpEvElement* element, const QString& text)
{
    if (auto* string = dynamic_cast<TRpEvElementString*>(element))
        string->setText(text);
}

void TRpEvEnvironment::setIntegerConstant(TRpEvElement* element, qint32 value)
{
    if (auto* constant = dynamic_cast<TRpEvElementConstant*>(element))
        constant->setConstant(TRpEvResult::integer(value));
}

void TRpEvEnvironment::setConstant(TRpEvElement* element, const TRpEvResult& value)
{
    if (auto* constant = dynamic_cast<TRpEvElementConstant*>(element))
        constant->setConstant(value);
    else if (auto* string = dynamic_cast<TRpEvElementString*>(element); string && value.kind == rkString)
        string->setText(value.strValue());
}

TRpEvEnvironment& globalEnvironment()
{
    static TRpEvEnvironment global;
    static const bool filled = [] {
        const QDateTime start = lb::Clock::now();
        auto quoted = [](const QString& text) { return QLatin1Char('\'') + text + QLatin1Char('\''); };
        global.addFunction(QStringLiteral("AppStartTime"), quoted(rpTimeText(start.time())));
        global.addFunction(QStringLiteral("AppStartDate"), quoted(lb::fmt::dateToStr(start.date())));
        global.addFunction(QStringLiteral("AppName"), quoted(QCoreApplication::applicationName()));
        return true;
    }();
    (void)filled;
    return global;
}

} // namespace lb::report
