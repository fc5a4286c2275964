// The data module: the program's one database connection and every shared dataset.
#include "core/Tfrdm.h"

#include "core/Schema.h"
#include "platform/sys/Errors.h"
#include "platform/ui/Dialogs.h"

#include <initializer_list>

QPointer<lb::core::Tfrdm> frdm;

namespace lb::core {

namespace {

using lb::db::DataSet;
using lb::db::FieldDef;

lb::db::Query* makeQuery(Tfrdm* dm, const char* name, const char* sql)
{
    auto* query = new lb::db::Query(dm->ADOCon, dm);
    query->setObjectName(QString::fromLatin1(name));
    if (*sql)
        query->sql().add(QString::fromLatin1(sql));
    return query;
}

lb::db::Table* makeTable(Tfrdm* dm, const char* name, const char* table)
{
    auto* dataSet = new lb::db::Table(dm->ADOCon, dm);
    dataSet->setObjectName(QString::fromLatin1(name));
    dataSet->setTableName(QString::fromLatin1(table));
    return dataSet;
}

// The fields of `table` with design-time formats; `count` keeps only the first columns,
// `without` drops the columns named.
std::vector<FieldDef> fieldsOf(const char* table, std::initializer_list<std::pair<const char*, const char*>> formats = {},
                               int count = -1, std::initializer_list<const char*> without = {})
{
    std::vector<FieldDef> defs = Schema::fieldDefs(QString::fromLatin1(table));
    if (count >= 0)
        defs.resize(std::size_t(count));
    for (const char* name : without)
        std::erase_if(defs, [&](const FieldDef& d) { return d.name == QLatin1String(name); });
    for (const auto& [name, format] : formats)
        for (auto& d : defs)
            if (d.name == QLatin1String(name))
                d.displayFormat = QString::fromLatin1(format);
    return defs;
}

// Empty text stores 0; other text must be a number that can be stored (ConvertError
// otherwise, field unchanged).
void numberFromText(lb::db::Field& field, const QString& text)
{
    field.setAsFloat(text.isEmpty() ? 0.0 : lb::db::Field::parseNumber(text));
}

void confirmDelete(DataSet&)
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("确实要删除当前记录吗?"), QStringLiteral("提示！")))
        throw lb::Abort();
}

} // namespace

Tfrdm::Tfrdm(QObject* parent)
    : QObject(parent)
    , AQcom(makeQuery(this, "AQcom", ""))
    , AQcom1(makeQuery(this, "AQcom1", "select * from branch"))
    , Aqproduct(makeQuery(this, "Aqproduct", "SELECT * from product"))
    , ATproduct(makeTable(this, "ATproduct", "product"))
    , AQproductxls(makeQuery(this, "AQproductxls", "SELECT * from product"))
    , Aqcustomer(makeQuery(this, "Aqcustomer", "SELECT * from customer"))
    , AQbranch(makeQuery(this, "AQbranch", "SELECT * from branch"))
    , AQbank(makeQuery(this, "AQbank", "SELECT * from bank"))
    , AQemployee(makeQuery(this, "AQemployee", "SELECT * from employee"))
    , AQstore(makeQuery(this, "AQstore", "SELECT * from store"))
    , Aqcproduct(makeQuery(this, "Aqcproduct", "SELECT * from cproduct where intno=:intno"))
    , Atcproduct(makeTable(this, "Atcproduct", "cproduct"))
    , AQoutlist(makeQuery(this, "AQoutlist", "select * from outlist"))
    , AQoutdetail(makeQuery(this, "AQoutdetail", "select * from outdetail"))
    , AQdetail(makeQuery(this, "AQdetail", "select * from outdetail"))
    , AQtotallist(makeQuery(this, "AQtotallist", "select * from totallist"))
    , ATtotallist1(makeTable(this, "ATtotallist1", "totallist1"))
    , ATcusttotal1(makeTable(this, "ATcusttotal1", "custtotal1"))
    , ATdateconfig(makeTable(this, "ATdateconfig", "dateconfig"))
    , ATcompany(makeTable(this, "ATcompany", "company"))
    , ATCONFIG(makeTable(this, "ATCONFIG", "config"))
    , ATopcrl(makeTable(this, "ATopcrl", "opcrl"))
    , atnextno(makeTable(this, "atnextno", "nextno"))
    , ATapperror(makeTable(this, "ATapperror", "apperror"))
    , AQexport(makeQuery(this, "AQexport", "SELECT * from export"))
    , AQpackage(makeQuery(this, "AQpackage", "select * from package"))
    , AQunits(makeQuery(this, "AQunits", "select * from units"))
    , AQprobranch(makeQuery(this, "AQprobranch", "SELECT * from probranch "))
    , AQproducttv(makeQuery(this, "AQproducttv", "SELECT * from producttv"))
    , Aqcustomertv(makeQuery(this, "Aqcustomertv", "SELECT * from customer"))
{
    declareFields();
    // DataSource1: the customer's product rows follow the current customer.
    Aqcproduct->setMasterSource(Aqcustomer);
    installTextHandlers();
    installDeleteConfirmations();
}

Tfrdm::~Tfrdm()
{
    // The datasets are Qt children and would outlive ADOCon's destruction; close first so
    // that no dataset touches a closed handle, then free them while the connection stands.
    ADOCon.close();
    qDeleteAll(findChildren<DataSet*>(Qt::FindDirectChildrenOnly));
}

void Tfrdm::declareFields()
{
    const std::initializer_list<std::pair<const char*, const char*>> partyMoney{
        {"rest", "0.00"}, {"amount", "0.00"}, {"pay", "0.00"}, {"balance", "0.00"},
        {"amount_y", "0.00"}, {"pay_y", "0.00"}, {"deduck", "#.##"}, {"deduck_y", "#.##"},
    };
    const std::initializer_list<std::pair<const char*, const char*>> headerMoney{
        {"balance", "0.00"}, {"amount", "0.00"}, {"pay", "0.00"}, {"rest", "0.00"}, {"deduck", "#.##"},
    };
    const std::initializer_list<std::pair<const char*, const char*>> lineNumbers{
        {"dj_w", "0.000"}, {"dj_n", "0.000"}, {"amount", "0.00"}, {"pay", "0.00"}, {"rest", "0.00"}, {"deduck", "#.##"},
    };

    Aqproduct->setPersistentFields(fieldsOf("product", {
        {"dj_w", "#.###"}, {"dj_n", "#.###"}, {"spmz", "#.###"}, {"spzz", "#.###"}, {"sptj", "0.00"},
    }));
    ATproduct->setPersistentFields(fieldsOf("product", {}, -1, {"pintno", "orderid", "barcode"}));
    Aqcustomer->setPersistentFields(fieldsOf("customer", partyMoney));
    AQbranch->setPersistentFields(fieldsOf("branch", partyMoney));
    AQbank->setPersistentFields(fieldsOf("bank", partyMoney));
    AQemployee->setPersistentFields(fieldsOf("employee"));
    AQstore->setPersistentFields(fieldsOf("store"));
    Aqcproduct->setPersistentFields(fieldsOf("cproduct", {
        {"dj_w", "#.###"}, {"dj_n", "#.###"}, {"spmz", "#.###"}, {"spzz", "#.###"}, {"sl_s", "#.###"}, {"sl_j", "#.###"},
    }));
    Atcproduct->setPersistentFields(fieldsOf("cproduct"));
    // The header dataset also shows the statements' work table, which records no posting route.
    AQoutlist->setPersistentFields(fieldsOf("outlist", headerMoney, -1, {"postroute"}));
    AQoutdetail->setPersistentFields(fieldsOf("outdetail", lineNumbers));
    AQdetail->setPersistentFields(fieldsOf("outdetail", lineNumbers));
    AQtotallist->setPersistentFields(fieldsOf("totallist", headerMoney, 22));
    ATtotallist1->setPersistentFields(fieldsOf("totallist1"));
    ATcusttotal1->setPersistentFields(fieldsOf("custtotal1"));
    ATdateconfig->setPersistentFields(fieldsOf("dateconfig"));
    ATcompany->setPersistentFields(fieldsOf("company"));
    ATCONFIG->setPersistentFields(fieldsOf("config"));
    ATopcrl->setPersistentFields(fieldsOf("opcrl"));
    atnextno->setPersistentFields(fieldsOf("nextno"));
    ATapperror->setPersistentFields(fieldsOf("apperror"));
    AQexport->setPersistentFields(fieldsOf("export"));
    AQpackage->setPersistentFields(fieldsOf("package"));
    AQunits->setPersistentFields(fieldsOf("units"));
    AQprobranch->setPersistentFields(fieldsOf("probranch"));
    AQproducttv->setPersistentFields(fieldsOf("producttv"));
    Aqcustomertv->setPersistentFields(fieldsOf("producttv"));
}

void Tfrdm::installTextHandlers()
{
    // Persistent fields keep their objects across reopenings, so the handlers are set once.
    const auto install = [](DataSet* dataSet, std::initializer_list<const char*> names) {
        for (const char* name : names)
            dataSet->fieldByName(QString::fromLatin1(name)).setOnSetText(numberFromText);
    };
    install(AQoutdetail, {"dj_w", "dj_n", "amount", "deduck", "pay", "ss", "sl_s", "js", "sl_j", "sl"});
    install(Aqcproduct, {"dj_w", "dj_n", "spmz", "spzz"});
}

void Tfrdm::installDeleteConfirmations()
{
    // Aqcustomer asks nothing here: the customer list asks and deletes by its own statements.
    for (DataSet* dataSet : std::initializer_list<DataSet*>{
             Aqproduct, AQbank, AQbranch, AQstore, AQemployee, AQoutdetail, Aqcproduct, AQpackage, AQunits})
        dataSet->setBeforeDelete(confirmDelete);
}

void Tfrdm::applyDisplayFormats()
{
    const bool wasOpen = ATCONFIG->active();
    ATCONFIG->open();
    const QString amount = ATCONFIG->fieldByName(QStringLiteral("amountformat")).asString();
    const QString qty = ATCONFIG->fieldByName(QStringLiteral("qtyformat")).asString();
    const QString price = ATCONFIG->fieldByName(QStringLiteral("priceformat")).asString();
    if (!wasOpen)
        ATCONFIG->close();

    const auto set = [](DataSet* dataSet, const QString& format, std::initializer_list<const char*> names) {
        for (const char* name : names)
            dataSet->setDisplayFormat(QString::fromLatin1(name), format);
    };
    for (DataSet* dataSet : {static_cast<DataSet*>(AQtotallist), static_cast<DataSet*>(AQoutlist)}) {
        set(dataSet, amount, {"balance", "amount", "deduck", "rest", "pay"});
        set(dataSet, qty, {"hjsl", "hjss", "hjjs"});
    }
    set(AQoutdetail, amount, {"rest", "amount", "deduck", "pay"});
    set(AQoutdetail, qty, {"sl", "ss", "js", "sl_j"});
    set(AQoutdetail, price, {"dj_n", "dj_w"});
    for (DataSet* dataSet : {AQbank, AQbranch, Aqcustomer})
        set(dataSet, amount, {"balance", "amount", "pay", "deduck", "amount_y", "pay_y", "deduck_y", "rest"});
    set(Aqproduct, qty, {"sl", "sl_j", "sl_out_m", "sl_out_y", "sl_in_m", "sl_in_y", "rest"});
    set(Aqproduct, price, {"dj_n", "dj_w", "spmz", "spzz"});
    set(Aqcproduct, qty, {"sl_j"});
    set(Aqcproduct, price, {"dj_n", "dj_w", "spmz", "spzz"});
}

} // namespace lb::core
