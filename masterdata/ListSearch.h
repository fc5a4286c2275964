// The searches of the record lists: option, text and mode turned into a query, and run.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

namespace lb::db {
class Query;
}

namespace lb::masterdata {

// How an option matches its column.
enum class SearchMatch {
    Contains,     // LIKE "%" + text + "%"
    QuickOrFuzzy, // LIKE text + "%" in quick mode, "%" + text + "%" in fuzzy mode
    Prefix,       // the values beginning with the text (a range on the column)
    PaddedPrefix, // Prefix after filling the text with zeros to ten digits; the box shows it
    PaddedContains, // Contains after filling the text with zeros to ten digits; the box shows it
    Fixed,        // a fixed condition; the text is ignored
    Equals,       // the column equals the trimmed text as typed
    PaddedEquals, // Equals after filling the text with zeros to ten digits; the box shows it
    DateEquals,   // the column equals the text read as a date ("yyyy-mm-dd"); ConvertError
                  // for a text that is no date, before anything is searched
};

struct SearchOption {
    QString option;            // text of the option box
    QString field;             // column searched
    SearchMatch match = SearchMatch::Contains;
    QString orderBy;           // order line, or empty
    bool testUntrimmed = false; // the filter is added when the untrimmed text is not empty
    QString fixedCondition;    // for Fixed: the whole WHERE line
};

struct SearchConfig {
    QString select;                   // first line, e.g. "SELECT * from customer "
    std::vector<SearchOption> options;
    // With an empty option box: the fields that the grid's selected column may search with a
    // contains-match; empty: an empty option box searches nothing.
    QStringList selectedColumnFields;
    // Extra condition joined to every search with "and" (customer price rows of one customer);
    // empty for a plain list.
    QString fixedWhere;
};

// One search ready to run.
struct SearchPlan {
    QStringList sql;
    std::vector<std::pair<QString, QVariant>> params;
    std::optional<QString> boxText; // new text of the search box, when the search rewrites it
    QString likePattern;            // the LIKE pattern bound to :p1, when the search has one
};

class ListSearch {
public:
    // The query of a search; nullopt when the option (or, with an empty option box, the
    // selected column's field) selects no search. `fuzzy` is the 模糊 mode of QuickOrFuzzy.
    static std::optional<SearchPlan> plan(const SearchConfig& config, const QString& option,
                                          const QString& text, bool fuzzy, const QString& selectedField);
    // Closes the query, replaces its SQL and parameters by the plan's, opens it; true. A text
    // too long for the database to match shows tooLongMessage() and leaves the query as it
    // was; false.
    static bool run(lb::db::Query& query, const SearchPlan& plan);
    static QString tooLongMessage();
    // The bounds of a prefix search: the values beginning with `text` lie between them.
    static std::pair<QString, QString> prefixBounds(const QString& text);
    // The last ten characters of "0000000000" followed by the text.
    static QString padTen(const QString& text);
};

} // namespace lb::masterdata
