// One window block for the customer and supplier summaries and statements and the journal.
#pragma once

#include "masterdata/PickTarget.h"
#include "summaries/BalanceConfig.h"
#include "summaries/BalanceWalk.h"
#include "summaries/SummaryWindow.h"

class QPlainTextEdit;

namespace lb::summaries {

// A partner code box (Edit9, the journal's Edit3) looked up when it is left, a name box
// (Edit10 or Edit4), and the run "刷新": the remembered period stored, the partner looked up
// again (a code that names no partner, or an empty one, stops the run before anything is
// touched), the work tables refilled and walked in one transaction, and the period's rows shown
// with their running balances. The print command prints the shown dataset and lastPartner().
class BalanceWindow : public SummaryWindow, public lb::masterdata::PickTarget {
    Q_OBJECT
public:
    BalanceWindow(BalanceConfig config, QWidget* owner);

    const BalanceConfig& config() const { return config_; }

    QLineEdit* codeBox = nullptr;          // Edit9 (journal: Edit3)
    QLineEdit* nameBox = nullptr;          // Edit10 (journal: Edit4)
    QPlainTextEdit* DBMemo1 = nullptr;     // the remark of the partner looked up; nullptr in the journal

    void refreshClick();
    // 打印: the rows the grid shows through the window's layout, with the partner they were
    // made for.
    void reportClick();
    // Leaving the code box: the journal pads the code; a partner found fills the name box,
    // otherwise the look-up's message is shown. Returns whether the partner was found.
    bool lookUp();
    void codeDblClick();

    // The dataset the grid shows (AQoutdetail, or AQoutlist for the statements).
    lb::db::Query& shown() const;
    // The last run's period and partner, for the print (its labels PartyId, PartyName, PartyTel
    // and PartyRemark).
    struct Partner {
        QString id;
        QString name;
        QString tel;
        QString remark;
    };
    const Partner& lastPartner() const { return lastPartner_; }
    const lb::summaries::Period& lastPeriod() const { return lastPeriod_; }

    QWidget* pickWindow() override { return this; }
    QLineEdit* pickBox(lb::masterdata::PickBox box) override;
    lb::db::DataSet* pickHeader() override { return nullptr; }
    lb::db::DataSet* pickLines() override { return nullptr; }

protected:
    void FormShow() override;
    void periodEntered() override;
    void onClosing() override;

private:
    // The partner query reopened on the code; true when it names a partner.
    bool findPartner(const QString& code);

    BalanceConfig config_;
    lb::db::Query* partner_; // the partner of the last look-up; a child of the window
    Partner lastPartner_;
    lb::summaries::Period lastPeriod_;
};

} // namespace lb::summaries
