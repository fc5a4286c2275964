// The database schema as data: every table with its columns, types, sizes and labels.
#include "core/Schema.h"

#include "platform/sys/Errors.h"

namespace lb::core {

namespace {

Column text(const char* name, int size, const char* label = "")
{
    return {QString::fromUtf8(name), ColumnType::Text, size, QString::fromUtf8(label)};
}
Column memo(const char* name, const char* label = "")
{
    return {QString::fromUtf8(name), ColumnType::Memo, 0, QString::fromUtf8(label)};
}
Column dbl(const char* name, const char* label = "")
{
    return {QString::fromUtf8(name), ColumnType::Double, 0, QString::fromUtf8(label)};
}
Column lng(const char* name, const char* label = "")
{
    return {QString::fromUtf8(name), ColumnType::Long, 0, QString::fromUtf8(label)};
}
Column yesNo(const char* name, const char* label = "", bool defaultTrue = false)
{
    return {QString::fromUtf8(name), ColumnType::YesNo, 0, QString::fromUtf8(label), defaultTrue};
}
Column date(const char* name, const char* label = "")
{
    return {QString::fromUtf8(name), ColumnType::Date, 0, QString::fromUtf8(label)};
}
Column dateTime(const char* name, const char* label = "")
{
    return {QString::fromUtf8(name), ColumnType::DateTime, 0, QString::fromUtf8(label)};
}
Column counter(const char* name)
{
    return {QString::fromUtf8(name), ColumnType::Counter, 0, QString()};
}

// The 26 columns shared by the document header tables and the summary work tables; the first
// 22 are also the summary's. The header tables add the route their posting took.
std::vector<Column> headerColumns()
{
    return {
        text("intno", 10, "单据号"),
        date("billdate", "日期"),
        text("customerintno", 10),
        text("customerid", 10, "客户号"),
        text("customername", 40, "客户名"),
        text("persondeal", 8, "联系人"),
        text("tel", 30),
        dbl("balance", "上期结余"),
        dbl("amount", "本次金额"),
        dbl("pay", "付款金额"),
        dbl("deduck", "扣除金额"),
        dbl("rest", "累计结余"),
        yesNo("pass"),
        yesNo("cancel"),
        text("djh", 10),
        text("remark", 60, "备注"),
        text("employeename", 10),
        text("bankid", 10),
        text("bankname", 20),
        dbl("hjss", "合计箱数"),
        dbl("hjjs", "合计件数"),
        dbl("hjsl", "合计数量"),
        memo("remark1"),
        text("billtype", 2),
        text("billname", 10, "单据名"),
        text("addr", 60),
    };
}

// The 29 columns shared by the document line tables and the line work tables.
std::vector<Column> lineColumns()
{
    return {
        text("intno", 10),
        text("mainintno", 10, "单据号"),
        text("spintno", 10),
        text("sphh", 10, "货品代码"),
        text("spmc", 40, "货品名称"),
        text("unit", 6, "单位"),
        dbl("dj_w", "进货价"),
        dbl("rebate"),
        dbl("dj_n", "销售价"),
        dbl("amount", "金额"),
        dbl("deduck", "扣除金额"),
        dbl("pay", "收款金额"),
        dbl("rest", "累计结余"),
        text("remark", 20, "备注"),
        text("billtype", 2, "单据类型号"),
        text("billname", 10, "单据类型"),
        date("billdate", "日期"),
        text("customerid", 10),
        text("customername", 40, "客户名"),
        text("bankid", 10),
        text("djh", 10, "单据号"),
        yesNo("pass"),
        yesNo("cancel"),
        dbl("ss", "箱数"),
        dbl("sl_s", "数量/箱"),
        dbl("js", "件数"),
        dbl("sl_j", "数量/件"),
        dbl("sl", "数量"),
        text("spgg", 20, "规格型号"),
    };
}

// The columns of customers; suppliers and accounts take the first nineteen with other labels.
std::vector<Column> partyColumns(const char* nameLabel, const char* payLabel, const char* payYearLabel)
{
    return {
        text("intno", 10),
        text("id", 10, "编号"),
        text("name", 40, nameLabel),
        text("tel", 12, "电话"),
        text("fax", 12, "传真"),
        text("movetel", 40, "手机"),
        text("persondeal", 12, "联系人"),
        text("addr", 50, "地址"),
        text("accno", 30),
        text("email", 40),
        dbl("rest", "期初金额"),
        dbl("amount", "本月货款"),
        dbl("pay", payLabel),
        dbl("deduck", "本月扣除"),
        dbl("balance", "余额"),
        memo("remark", "备注"),
        dbl("amount_y", "本年货款"),
        dbl("pay_y", payYearLabel),
        dbl("deduck_y", "本年扣除"),
    };
}

std::vector<Column> concat(std::vector<Column> a, const std::vector<Column>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Column& columnOf(std::vector<Column>& columns, const char* name)
{
    for (auto& c : columns)
        if (c.name == QLatin1String(name))
            return c;
    throw lb::Error(QStringLiteral("Column '%1' not in the schema").arg(QLatin1String(name)));
}

std::vector<TableDef> buildTables()
{
    std::vector<TableDef> t;

    t.push_back({"product", {
        text("intno", 10),
        text("name", 40, "货品类型"),
        text("sphh", 15, "货品代码"),
        text("spmc", 40, "货品名称"),
        text("spgg", 20, "规格型号"),
        text("spbzxh", 18),
        dbl("dj_w", "进货价"),
        dbl("dj_n", "批发价"),
        dbl("spmz", "超市价"),
        dbl("spzz", "零售价"),
        text("bz", 30),
        yesNo("szbj", "选择"),
        dbl("l"), dbl("w"), dbl("h"),
        dbl("sptj"),
        dbl("spds"), dbl("spnh"),
        dbl("sl_s"),
        text("spccxh", 10),
        text("spbs", 8),
        text("ckbh", 3),
        text("ckmc", 10),
        dbl("sl_j", "数量/件"),
        dbl("rest", "期初数量"),
        dbl("ysl"),
        dbl("sl_sw"),
        dbl("sl", "库存数量"),
        dbl("sl_out_m", "月出货量"),
        dbl("sl_in_m", "月进货量"),
        dbl("sl_out_y", "年出货量"),
        dbl("sl_in_y", "年进货量"),
        text("pintno", 6),
        text("orderid", 60),
        text("barcode", 18),
    }});

    t.push_back({"cproduct", {
        text("intno1", 10),
        text("spintno", 10),
        text("intno", 10),
        text("sphh", 15, "货品代码"),
        text("spmc", 40, "货品名称"),
        text("name", 40, "货品类型"),
        dbl("dj_w"),
        dbl("dj_n", "批发价"),
        text("spbzxh", 18, "单位"),
        text("spgg", 20, "规格型号"),
        dbl("spmz", "超市价"),
        dbl("spzz", "零售价"),
        dbl("sl_s", "数量/箱"),
        dbl("sl_j", "数量/件"),
        dbl("sl_sw"),
        text("bz", 30, "备注"),
    }});

    t.push_back({"probranch", {
        text("intno", 10),
        text("spintno", 10),
        text("branchintno", 3),
        text("branchname", 50, "厂家名"),
        dbl("dj_w", "单价"),
        lng("sl", "库存量"),
    }});

    for (const char* list : {"package", "units"})
        t.push_back({list, {text("intno", 10), text("id", 10), text("name", 20)}});

    t.push_back({"producttv", {
        text("intno", 6), text("pintno", 6), text("indexname", 20), text("orderid", 60),
    }});

    t.push_back({"customer", concat(partyColumns("客户名", "本月收款", "本年收款"),
                                    {text("pintno", 6), text("orderid", 60)})});
    t.push_back({"branch", partyColumns("供应商名", "本月付款", "本年付款")});
    {
        auto bank = partyColumns("名称", "本月付款", "本年付款");
        columnOf(bank, "rest").label = QStringLiteral("期初余额");
        columnOf(bank, "amount").label = QStringLiteral("本月金额");
        columnOf(bank, "amount_y").label = QStringLiteral("本年金额");
        Column& remark = columnOf(bank, "remark");
        remark.type = ColumnType::Text;
        remark.size = 20;
        t.push_back({"bank", bank});
    }

    t.push_back({"employee", {
        text("intno", 10), text("id", 10, "编号"), text("name", 40, "姓名"),
        text("tel", 12), text("fax", 12), text("movetel", 40), text("persondeal", 12),
        text("addr", 50), text("email", 40), text("remark", 20),
    }});
    t.push_back({"store", {
        text("intno", 10), text("id", 3, "编号"), text("name", 40, "名称"),
        text("tel", 12), text("fax", 12), text("movetel", 40), text("persondeal", 12),
        text("addr", 50), text("accno", 30), text("email", 40), text("remark", 20),
    }});

    t.push_back({"company", {text("name", 100), text("tel", 100), text("addr", 100), memo("doc")}});
    t.push_back({"opcrl", {
        text("bh", 3, "编号"), text("xm", 10, "用户名"), text("pw", 12, "密码"), text("rh", 12, "权限"),
    }});
    t.push_back({"config", {
        counter("ID"),
        text("priceformat", 16),
        text("qtyformat", 16),
        text("amountformat", 16),
        text("weightformat", 16),
        text("dateformat", 20),
        text("dateeditmask", 16),
        text("dateseparator", 1),
        text("bcbj", 1),
        text("bcszbj", 1),
        text("imename", 36),
        text("picfilename", 150),
        text("toppath", 150),
        text("tallybj", 1),
        yesNo("startbj"),
        memo("remark1"),
        yesNo("flashbj", "", true),
    }});
    t.push_back({"dateconfig", {date("ksdate"), date("jsdate"), yesNo("bz")}});
    t.push_back({"nextno", {
        text("tablename", 12), text("intno", 12),
        text("fieldx1", 10), text("fieldx2", 10), text("fieldx3", 10), text("fieldx4", 10), text("fieldx5", 10),
    }});
    t.push_back({"apperror", {
        text("capt", 30, "错误性质"), text("titl", 30, "出错程序"), text("name", 40, "出错位置"),
        dateTime("rq", "日期"), text("mess", 50, "出错信息"),
    }});
    t.push_back({"export", {
        counter("intid"), yesNo("szbj"), text("fieldnameen", 50), text("fieldnamecn", 50),
    }});

    const char* kinds[][2] = {
        {"outlist", "outdetail"}, {"inlist", "indetail"}, {"dhlist", "dhdetail"},
        {"outbacklist", "outbackdetail"}, {"inbacklist", "inbackdetail"},
        {"getlist", "getdetail"}, {"putlist", "putdetail"},
    };
    for (const auto& kind : kinds) {
        Column route = text("postroute", 1);
        route.nullDefault = true;
        t.push_back({kind[0], concat(headerColumns(), {route})});
        t.push_back({kind[1], lineColumns()});
    }

    for (const char* work : {"totallist", "totallist1"})
        t.push_back({work, concat(headerColumns(), {counter("intid")})});
    for (const char* work : {"custtotal", "custtotal1"})
        t.push_back({work, lineColumns()});

    return t;
}

} // namespace

const Column* TableDef::find(const QString& column) const
{
    for (const auto& c : columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const std::vector<TableDef>& Schema::tables()
{
    static const std::vector<TableDef> all = buildTables();
    return all;
}

const TableDef& Schema::table(const QString& name)
{
    for (const auto& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    throw lb::Error(QStringLiteral("Table '%1' not in the schema").arg(name));
}

const QStringList& Schema::headerTables()
{
    static const QStringList names{"dhlist", "getlist", "outbacklist", "outlist", "putlist", "inbacklist", "inlist"};
    return names;
}

const QStringList& Schema::lineTables()
{
    static const QStringList names{"dhdetail", "getdetail", "outbackdetail", "outdetail", "putdetail", "inbackdetail", "indetail"};
    return names;
}

const std::vector<IndexDef>& Schema::indexes()
{
    static const std::vector<IndexDef> all = [] {
        std::vector<IndexDef> list;
        auto add = [&](const QString& table, std::initializer_list<const char*> columns) {
            for (const char* column : columns)
                list.push_back({QStringLiteral("ix_%1_%2").arg(table, QLatin1String(column)), table,
                                QStringLiteral("\"%1\"").arg(QLatin1String(column))});
        };
        // The running balances match a party's or an account's code with the stored code
        // trimmed; an index of the trimmed code serves that comparison without changing which
        // rows it matches (an index of the column would not serve it at all).
        auto addTrimmed = [&](const QString& table, const char* column) {
            list.push_back({QStringLiteral("ix_%1_trim_%2").arg(table, QLatin1String(column)), table,
                            QStringLiteral("trim(\"%1\")").arg(QLatin1String(column))});
        };
        for (const QString& table : headerTables())
            add(table, {"intno", "billdate", "customerid"});
        for (const QString& table : lineTables())
            add(table, {"intno", "mainintno", "spintno", "billdate"});
        add(QStringLiteral("product"), {"intno", "sphh", "barcode"});
        for (const char* party : {"customer", "branch", "bank"})
            add(QLatin1String(party), {"id"});
        // Purchase orders have no running balance.
        for (const QString& table : headerTables() + lineTables())
            if (!table.startsWith(QLatin1String("dh")))
                addTrimmed(table, "customerid");
        for (const char* table : {"outlist", "inlist"})
            addTrimmed(QLatin1String(table), "bankid");
        return list;
    }();
    return all;
}

QString Schema::createIndexSql(const IndexDef& index)
{
    return QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (%3)").arg(index.name, index.table, index.term);
}

const QStringList& Schema::optionUpgradeColumns()
{
    static const QStringList names{"flashbj", "startbj", "remark1"};
    return names;
}

const QStringList& Schema::headerUpgradeColumns()
{
    static const QStringList names{"remark1", "billtype", "billname", "addr"};
    return names;
}

const QStringList& Schema::routeUpgradeColumns()
{
    static const QStringList names{"postroute"};
    return names;
}

QString Schema::columnSql(const Column& column)
{
    QString type;
    switch (column.type) {
    case ColumnType::Text:
        type = QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(column.size);
        if (!column.nullDefault)
            type += QStringLiteral(" DEFAULT ''");
        break;
    case ColumnType::Memo:
        type = QStringLiteral("TEXT COLLATE NOCASE DEFAULT ''");
        break;
    case ColumnType::Double:
        type = QStringLiteral("DOUBLE DEFAULT 0");
        break;
    case ColumnType::Long:
        type = QStringLiteral("INTEGER DEFAULT 0");
        break;
    case ColumnType::YesNo:
        type = column.defaultTrue ? QStringLiteral("BOOLEAN NOT NULL DEFAULT 1")
                                  : QStringLiteral("BOOLEAN NOT NULL DEFAULT 0");
        break;
    case ColumnType::Date:
        type = QStringLiteral("DATE");
        break;
    case ColumnType::DateTime:
        type = QStringLiteral("DATETIME");
        break;
    case ColumnType::Counter:
        type = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        break;
    }
    return QStringLiteral("\"%1\" %2").arg(column.name, type);
}

QString Schema::createTableSql(const TableDef& table)
{
    QStringList columns;
    for (const auto& c : table.columns)
        columns << columnSql(c);
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table.name, columns.join(QStringLiteral(", ")));
}

lb::db::FieldDef Schema::fieldDef(const Column& column)
{
    lb::db::FieldDef def;
    def.name = column.name;
    def.displayLabel = column.label;
    switch (column.type) {
    case ColumnType::Text:
        def.type = lb::db::FieldType::Text;
        def.size = column.size;
        break;
    case ColumnType::Memo:
        def.type = lb::db::FieldType::Memo;
        break;
    case ColumnType::Double:
        def.type = lb::db::FieldType::Float;
        break;
    case ColumnType::Long:
    case ColumnType::Counter:
        def.type = lb::db::FieldType::Integer;
        break;
    case ColumnType::YesNo:
        def.type = lb::db::FieldType::Boolean;
        break;
    case ColumnType::Date:
        def.type = lb::db::FieldType::Date;
        break;
    case ColumnType::DateTime:
        def.type = lb::db::FieldType::DateTime;
        break;
    }
    return def;
}

std::vector<lb::db::FieldDef> Schema::fieldDefs(const QString& tableName)
{
    std::vector<lb::db::FieldDef> defs;
    for (const auto& c : table(tableName).columns)
        defs.push_back(fieldDef(c));
    return defs;
}

} // namespace lb::core
