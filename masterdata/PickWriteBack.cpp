// What each record list writes into its opener for each PickMode: the table and its application.
#include "masterdata/PickWriteBack.h"

#include "platform/db/Query.h"

#include <QLineEdit>

namespace lb::masterdata {

const QString PickWriteBack::CarryOverLine = QStringLiteral("上期结转");

const std::vector<PickRule>& PickWriteBack::rules()
{
    using L = PickList;
    using P = lb::core::PickCode;
    using A = PickAction;
    using B = PickBox;
    static const std::vector<PickRule> table = {
        {L::Customer, P::SalesEntry, "Tfroutdetail", A::CodeIntoBox, B::Edit2},
        {L::Customer, P::SalesSummary, "Tfrouttotal", A::CodeIntoBox, B::Edit2},
        {L::Customer, P::SalesReturnEntry, "Tfroutbackdetail", A::CodeIntoBox, B::Edit2},
        {L::Customer, P::CustomerSummary, "Tfrcusttotal", A::CodeIntoBox, B::Edit9},
        {L::Customer, P::CustomerStatement, "Tfrcusttotalist", A::CodeIntoBox, B::Edit9},
        {L::Customer, P::ReceiptEntry, "Tfrgetdetail", A::CodeIntoBox, B::Edit2},

        {L::Supplier, P::PurchaseEntry, "Tfrindetail", A::CodeIntoBox, B::Edit2},
        {L::Supplier, P::PurchaseOrderEntry, "Tfrdhdetail", A::CodeIntoBox, B::Edit2},
        {L::Supplier, P::PurchaseSummary, "Tfrintotal", A::CodeIntoBox, B::Edit2},
        {L::Supplier, P::PurchaseReturnEntry, "Tfrinbackdetail", A::CodeIntoBox, B::Edit2},
        {L::Supplier, P::SupplierStatement, "Tfrbrantotalist", A::CodeIntoBox, B::Edit9},
        {L::Supplier, P::SupplierSummary, "Tfrbrantotal", A::CodeIntoBox, B::Edit9},
        {L::Supplier, P::PaymentEntry, "Tfrputdetail", A::CodeIntoBox, B::Edit2},

        {L::Account, P::SalesEntry, "Tfroutdetail", A::HeaderAccount, B::Edit10},
        {L::Account, P::PurchaseEntry, "Tfrindetail", A::HeaderAccount, B::Edit10},
        // The journal's account box takes the picked code, as the party boxes take theirs.
        {L::Account, P::CashBankJournal, "Tfrbanktotal", A::CodeIntoBox, B::Edit3},
        {L::Account, P::ReceiptEntry, "Tfrgetdetail", A::LineAccount, B::None},
        {L::Account, P::PaymentEntry, "Tfrputdetail", A::LineAccount, B::None},

        {L::Employee, P::SalesEntry, "Tfroutdetail", A::NameIntoBox, B::Edit16},
        {L::Employee, P::PurchaseEntry, "Tfrindetail", A::NameIntoBox, B::Edit16},
        {L::Employee, P::PurchaseOrderEntry, "Tfrdhdetail", A::NameIntoBox, B::Edit16},
        {L::Employee, P::SalesReturnEntry, "Tfroutbackdetail", A::NameIntoBox, B::Edit16},
        {L::Employee, P::PurchaseReturnEntry, "Tfrinbackdetail", A::NameIntoBox, B::Edit16},
        {L::Employee, P::ReceiptEntry, "Tfrgetdetail", A::NameIntoBox, B::Edit16},
        {L::Employee, P::PaymentEntry, "Tfrputdetail", A::NameIntoBox, B::Edit16},

        {L::Product, P::SalesEntry, "Tfroutdetail", A::LineProduct, B::None},
        {L::Product, P::PurchaseEntry, "Tfrindetail", A::LineProduct, B::None},
        {L::Product, P::SalesReturnEntry, "Tfroutbackdetail", A::LineProduct, B::None},
        {L::Product, P::PurchaseReturnEntry, "Tfrinbackdetail", A::LineProduct, B::None},

        {L::CustomerProduct, P::SalesEntryPriceTable, "Tfroutdetail", A::LineProduct, B::None},
    };
    return table;
}

const PickRule* PickWriteBack::find(PickList list, lb::core::PickCode code)
{
    for (const PickRule& rule : rules()) {
        if (rule.list == list && rule.code == code)
            return &rule;
    }
    return nullptr;
}

QString PickWriteBack::currentLine(PickTarget& target)
{
    lb::db::DataSet* lines = target.pickLines();
    if (!lines || !lines->active() || lines->isEmpty())
        return {};
    return lines->fieldByName(QStringLiteral("intno")).asString();
}

lb::db::DataSet* PickWriteBack::lineFor(PickTarget& target, const QString& lineIntno)
{
    lb::db::DataSet* lines = target.pickLines();
    if (!lines || lineIntno.isEmpty() || !lines->active() || lines->isEmpty())
        return nullptr;
    const QString intno = QStringLiteral("intno");
    if (lines->fieldByName(intno).asString() != lineIntno && !lines->locate(intno, lineIntno))
        return nullptr;
    if (lines->fieldByName(QStringLiteral("spmc")).asString().trimmed() == CarryOverLine)
        return nullptr;
    return lines;
}

bool PickWriteBack::apply(PickList list, lb::core::PickCode code, PickTarget& target, lb::db::DataSet& source,
                          const QString& lineIntno, const QString& selectedField)
{
    const PickRule* rule = find(list, code);
    if (!rule || rule->action == PickAction::Nothing || !source.active() || source.isEmpty())
        return false;
    switch (rule->action) {
    case PickAction::CodeIntoBox:
    case PickAction::NameIntoBox: {
        QLineEdit* box = target.pickBox(rule->box);
        if (!box)
            return false;
        box->setText(rule->action == PickAction::CodeIntoBox
                         ? source.fieldByName(QStringLiteral("id")).asString()
                         : source.fieldByName(QStringLiteral("name")).asString().trimmed());
        return true;
    }
    case PickAction::HeaderAccount: {
        lb::db::DataSet* header = target.pickHeader();
        if (!header || !header->active() || header->isEmpty())
            return false;
        const QString id = source.fieldByName(QStringLiteral("id")).asString();
        header->edit();
        header->fieldByName(QStringLiteral("bankid")).setAsString(id);
        if (QLineEdit* box = target.pickBox(rule->box))
            box->setText(id);
        header->post();
        return true;
    }
    case PickAction::LineAccount: {
        lb::db::DataSet* line = lineFor(target, lineIntno);
        if (!line)
            return false;
        line->edit();
        line->fieldByName(QStringLiteral("sphh")).setAsString(source.fieldByName(QStringLiteral("id")).asString());
        line->fieldByName(QStringLiteral("spmc")).setAsString(source.fieldByName(QStringLiteral("name")).asString());
        line->post();
        return true;
    }
    case PickAction::LineProduct: {
        lb::db::DataSet* line = lineFor(target, lineIntno);
        return line && writeLineProduct(list, *line, source, selectedField);
    }
    case PickAction::Nothing:
        break;
    }
    return false;
}

double PickWriteBack::purchasePrice(lb::db::DataSet& priceRow)
{
    // No command fills a price row's own purchase price: the line takes the product's, as a
    // product pick does, or every later profit would count the goods as free.
    lb::db::Query product(priceRow.connection());
    product.sql().add(QStringLiteral("select dj_w from product where intno=:p1"));
    product.paramByName(QStringLiteral("p1")).setAsString(priceRow.fieldByName(QStringLiteral("spintno")).asString());
    product.open();
    return product.isEmpty() ? priceRow.fieldByName(QStringLiteral("dj_w")).asFloat()
                             : product.fieldByName(QStringLiteral("dj_w")).asFloat();
}

bool PickWriteBack::writeLineProduct(PickList list, lb::db::DataSet& line, lb::db::DataSet& source,
                                     const QString& selectedField)
{
    // A product row and a customer price row carry the product under different names.
    const bool priceRow = list == PickList::CustomerProduct;
    auto from = [&source](const char* name) -> lb::db::Field& { return source.fieldByName(QString::fromLatin1(name)); };
    auto to = [&line](const char* name) -> lb::db::Field& { return line.fieldByName(QString::fromLatin1(name)); };

    QString price = QStringLiteral("dj_n");
    const QString selected = selectedField.toLower();
    if (selected == QLatin1String("spmz") || selected == QLatin1String("spzz"))
        price = selected;

    line.edit();
    to("spintno").setAsString(from(priceRow ? "spintno" : "intno").asString());
    to("sphh").setAsString(from("sphh").asString());
    to("spmc").setAsString(from("spmc").asString());
    to("spgg").setAsString(from("spgg").asString());
    to("unit").setAsString(from(priceRow ? "spbzxh" : "spbs").asString());
    to("sl_s").setAsFloat(from("sl_s").asFloat());
    to("sl_j").setAsFloat(from("sl_j").asFloat());
    to("dj_n").setAsFloat(source.fieldByName(price).asFloat());
    to("dj_w").setAsFloat(priceRow ? purchasePrice(source) : from("dj_w").asFloat());
    to("ss").setAsFloat(0);
    to("js").setAsFloat(0);
    to("sl").setAsFloat(1);
    line.post();
    return true;
}

} // namespace lb::masterdata
