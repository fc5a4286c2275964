// What configures one running-balance window: its partner, work tables, walk and grid.
#pragma once

#include "core/PickCode.h"
#include "platform/ui/GridColumn.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace lb::db {
class Query;
}

namespace lb::summaries {

// How the walk reshapes a row and moves the running balance through it. Every row's rest is
// the balance after it, and its balance (where the rows have that column, the statements')
// the balance before it; rows of the carry-over line ("上期结转") leave the balance alone.
struct BalanceRule {
    // The kind (billtype) whose sum is shown as paid: pay := amount, amount := 0.
    QString movedToPay;
    // Kinds paid on the document into or out of the account (the journal): the row is named
    // after the account and shows the money paid as money in (amount) or out (pay).
    QStringList moneyIn;
    QStringList moneyOut;
    // Kinds that raise the balance by amount − deduck − pay; every other row lowers it by
    // amount + deduck + pay.
    QStringList adding;
    bool deductCounts = true;   // false: deduck takes no part
};

// The refill of the work tables: the seed row, the gathered rows, their order, the walk.
// Statements name their values :code (the partner's code, trimmed), :fromdate (the start of
// the period) and :name (the partner's name).
struct BalanceWalkConfig {
    QString workTable;          // rows gathered unordered: custtotal or totallist
    QString walkTable;          // the same rows in order with the balance: custtotal1 or totallist1
    QString seed;               // the "上期结余" row, dated on the period's first day
    QStringList gathers;        // insert-select statements, one per source table
    QString order;              // "billdate,billtype,sphh"
    QStringList copied;         // the columns the walk table receives
    BalanceRule rule;
    QString shownRows;          // condition on the rows shown, before the period's; may be empty
};

struct BalanceConfig {
    QString key;                // window class name, the registry key ("Tfrcusttotal")
    QString caption;
    QString layoutClass;        // the report layout the print command fills
    bool printsPartner = true;  // the layout prints the partner of the rows (PartyId, ...)
    bool printsSpecHeading = false; // the print heads its 规格型号 column (RpLabel16) by the option

    // The partner and its look-up.
    QString partyTable;         // customer, branch or bank
    std::function<lb::db::Query*()> partyDataSet; // Aqcustomer, AQbranch or AQbank
    QString partyResetSql;      // its SQL after closing
    QString notFound;           // the look-up's message
    QString runNotFound;        // the run's own look-up's message
    bool padCode = false;       // the code is padded with zeros to ten characters
    QString codeBox = QStringLiteral("Edit9");
    QString nameBox = QStringLiteral("Edit10");
    QString codeLabel;
    QString nameLabel;
    QString codeHint;
    QString pickList;           // the picker's window class
    lb::core::PickCode pickCode = lb::core::PickCode::None;

    // What the grid shows after a run.
    bool statement = false;     // on the header dataset (totallist1) instead of the line dataset
    std::vector<lb::ui::GridColumn> columns;
    int specColumn = -1;        // the spgg column, titled by the option
    bool memo = true;           // the partner's remark under the grid
    bool runsOnShow = false;    // runs once when shown (the journal)

    QString closingHeaderSql = QStringLiteral("SELECT * from outlist");

    BalanceWalkConfig walk;
};

} // namespace lb::summaries
