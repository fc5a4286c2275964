// The searches of the record lists: option, text and mode turned into a query, and run.
#include "masterdata/ListSearch.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/Dialogs.h"

namespace lb::masterdata {

QString ListSearch::padTen(const QString& text)
{
    return (QStringLiteral("0000000000") + text).right(10);
}

std::pair<QString, QString> ListSearch::prefixBounds(const QString& text)
{
    // The text itself is the lowest value that begins with it; the highest code point after it
    // sorts above every continuation under the byte-wise order the database uses.
    return {text, text + QString::fromUcs4(U"\U0010FFFF")};
}

std::optional<SearchPlan> ListSearch::plan(const SearchConfig& config, const QString& option,
                                           const QString& text, bool fuzzy, const QString& selectedField)
{
    const QString trimmed = text.trimmed();
    SearchOption chosen;
    bool found = false;
    if (option.trimmed().isEmpty()) {
        for (const QString& field : config.selectedColumnFields) {
            if (!selectedField.isEmpty() && field.compare(selectedField, Qt::CaseInsensitive) == 0) {
                chosen = SearchOption{QString(), field, SearchMatch::Contains, QString(), false, QString()};
                found = true;
            }
        }
    } else {
        for (const SearchOption& candidate : config.options) {
            if (candidate.option == option) {
                chosen = candidate;
                found = true;
            }
        }
    }
    if (!found)
        return std::nullopt;

    SearchPlan plan;
    plan.sql << config.select;
    QString condition;
    QString search = trimmed;
    const bool padded = chosen.match == SearchMatch::PaddedPrefix || chosen.match == SearchMatch::PaddedContains
        || chosen.match == SearchMatch::PaddedEquals;
    if (padded) {
        search = padTen(trimmed);
        plan.boxText = search;
    }
    const bool filter = chosen.match == SearchMatch::Fixed
        || (padded ? search != padTen(QString())
                                                      : !(chosen.testUntrimmed ? text : trimmed).isEmpty());
    if (filter) {
        switch (chosen.match) {
        // The typed text is matched as typed: its '%', '_' and '\' are characters, not wildcards.
        case SearchMatch::Contains:
        case SearchMatch::PaddedContains:
            condition = QStringLiteral("(%1 like :p1 escape '\\')").arg(chosen.field);
            plan.likePattern = lb::db::SqlText::likeContains(search);
            plan.params.emplace_back(QStringLiteral("p1"), plan.likePattern);
            break;
        case SearchMatch::QuickOrFuzzy:
            condition = QStringLiteral("(%1 like :p1 escape '\\')").arg(chosen.field);
            plan.likePattern = fuzzy ? lb::db::SqlText::likeContains(trimmed) : lb::db::SqlText::likePrefix(trimmed);
            plan.params.emplace_back(QStringLiteral("p1"), plan.likePattern);
            break;
        case SearchMatch::Prefix:
        case SearchMatch::PaddedPrefix: {
            condition = QStringLiteral("(%1>=:p1)and(%1<=:p2)").arg(chosen.field);
            const auto bounds = prefixBounds(search);
            plan.params.emplace_back(QStringLiteral("p1"), bounds.first);
            plan.params.emplace_back(QStringLiteral("p2"), bounds.second);
            break;
        }
        case SearchMatch::Fixed:
            condition = chosen.fixedCondition;
            break;
        case SearchMatch::Equals:
        case SearchMatch::PaddedEquals:
            condition = QStringLiteral("(%1=:p1)").arg(chosen.field);
            plan.params.emplace_back(QStringLiteral("p1"), search);
            break;
        case SearchMatch::DateEquals:
            condition = QStringLiteral("(%1=:p1)").arg(chosen.field);
            plan.params.emplace_back(QStringLiteral("p1"), lb::fmt::strToDate(search));
            break;
        }
    }
    if (!config.fixedWhere.isEmpty())
        plan.sql << QStringLiteral("WHERE ") + config.fixedWhere + (condition.isEmpty() ? QString() : QStringLiteral(" and ") + condition);
    else if (!condition.isEmpty())
        plan.sql << QStringLiteral("WHERE ") + condition;
    if (!chosen.orderBy.isEmpty())
        plan.sql << chosen.orderBy;
    return plan;
}

QString ListSearch::tooLongMessage()
{
    return QStringLiteral("查找内容太长,请输入较短的内容再查找！");
}

bool ListSearch::run(lb::db::Query& query, const SearchPlan& plan)
{
    // The engine refuses a pattern past its limit with an error naming its SQL; the user is
    // told in words of ours instead, and the list stays as it was.
    if (!plan.likePattern.isEmpty() && plan.likePattern.toUtf8().size() > query.connection().likePatternLimit()) {
        lb::ui::Dialogs::message(tooLongMessage());
        return false;
    }
    query.close();
    query.sql().clear();
    for (const QString& line : plan.sql)
        query.sql().add(line);
    for (const auto& [name, value] : plan.params)
        query.paramByName(name).setValue(value);
    query.open();
    return true;
}

} // namespace lb::masterdata
