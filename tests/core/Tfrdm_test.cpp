// Tests of the data module: typed grid text, deletion confirmations, display formats from the
// options row, and the customer's product rows following the current customer.
#include "core/CoreFixture.h"

#include "core/TFrm_ErrorMessage.h"
#include "platform/sys/Errors.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/ScriptedModals.h"

#include <QFile>

using lb::core::TFrm_ErrorMessage;
using lb::ui::DialogAnswer;

namespace {

class DataModule : public CoreFixture {
protected:
    // A document line open in AQoutdetail, in edit mode.
    lb::db::Query& editLine()
    {
        insertRow(QStringLiteral("outdetail"), {{"spmc", QStringLiteral("苹果")}, {"sl", 5.0}, {"dj_n", 2.5}});
        lb::db::Query& lines = *dm().AQoutdetail;
        lines.open();
        lines.edit();
        return lines;
    }
};

} // namespace

TEST_F(DataModule, EmptiedNumberCellStoresZeroAndTypedNumbersConvert)
{
    lb::db::Query& lines = editLine();
    lines.fieldByName(QStringLiteral("sl")).setText(QString());
    lines.fieldByName(QStringLiteral("dj_n")).setText(QStringLiteral("3.75"));
    lines.post();
    EXPECT_EQ(0.0, scalar(QStringLiteral("select sl from outdetail")).toDouble());
    EXPECT_FALSE(scalar(QStringLiteral("select sl from outdetail")).isNull());
    EXPECT_EQ(3.75, scalar(QStringLiteral("select dj_n from outdetail")).toDouble());

    // Every handled field of the line grid and of the customer's price grid does the same.
    for (const char* name : {"dj_w", "dj_n", "amount", "deduck", "pay", "ss", "sl_s", "js", "sl_j", "sl"}) {
        lines.edit();
        lines.fieldByName(QString::fromLatin1(name)).setAsFloat(9);
        lines.fieldByName(QString::fromLatin1(name)).setText(QString());
        EXPECT_EQ(0.0, lines.fieldByName(QString::fromLatin1(name)).asFloat()) << name;
        lines.cancel();
    }
}

TEST_F(DataModule, LettersOrTooLargeAFigureInANumberCellRaiseTheConversionErrorAndChangeNothing)
{
    lb::db::Query& lines = editLine();
    for (const QString& typed : {QStringLiteral("abc"), QStringLiteral("1e308"), QString(300, QLatin1Char('9'))}) {
        try {
            lines.fieldByName(QStringLiteral("sl")).setText(typed);
            ADD_FAILURE() << typed.toStdString() << " was taken";
        } catch (const lb::ConvertError& e) {
            EXPECT_EQ(QStringLiteral("'%1' is not a valid floating point value").arg(typed), e.message());
        }
    }
    EXPECT_EQ(5.0, lines.fieldByName(QStringLiteral("sl")).asFloat());
    lines.post();
    EXPECT_EQ(5.0, scalar(QStringLiteral("select sl from outdetail")).toDouble());
}

TEST_F(DataModule, CustomerPriceCellsConvertTooAndFollowTheCustomer)
{
    const QString first = makeCustomer(QStringLiteral("0000000001"), QStringLiteral("甲"));
    const QString second = makeCustomer(QStringLiteral("0000000002"), QStringLiteral("乙"));
    insertRow(QStringLiteral("cproduct"), {{"intno", first}, {"intno1", QStringLiteral("0000000001")}, {"dj_n", 4.0}});
    insertRow(QStringLiteral("cproduct"), {{"intno", second}, {"intno1", QStringLiteral("0000000002")}, {"dj_n", 7.0}});

    dm().Aqcustomer->open();
    dm().Aqcproduct->open();
    ASSERT_EQ(1, dm().Aqcproduct->recordCount());
    EXPECT_EQ(4.0, dm().Aqcproduct->fieldByName(QStringLiteral("dj_n")).asFloat());
    dm().Aqcustomer->next();
    ASSERT_EQ(1, dm().Aqcproduct->recordCount());
    EXPECT_EQ(7.0, dm().Aqcproduct->fieldByName(QStringLiteral("dj_n")).asFloat());

    dm().Aqcproduct->edit();
    dm().Aqcproduct->fieldByName(QStringLiteral("spzz")).setText(QString());
    EXPECT_THROW(dm().Aqcproduct->fieldByName(QStringLiteral("dj_n")).setText(QStringLiteral("七")), lb::ConvertError);
    dm().Aqcproduct->post();
    EXPECT_EQ(7.0, scalar(QStringLiteral("select dj_n from cproduct where intno=:p1"), {second}).toDouble());
}

TEST_F(DataModule, DeletionAsksFirstAndCancelKeepsTheRow)
{
    makeProduct(QStringLiteral("001"), QStringLiteral("苹果"));
    dm().Aqproduct->open();
    dialogs.answer(DialogAnswer::Cancel);
    EXPECT_THROW(dm().Aqproduct->deleteRecord(), lb::Abort);
    EXPECT_EQ(QStringLiteral("提示！|确实要删除当前记录吗?"), dialogs.captionsAndTexts().join(';'));
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from product")).toInt());
    EXPECT_EQ(1, dm().Aqproduct->recordCount());

    dialogs.answer(DialogAnswer::Ok);
    dm().Aqproduct->deleteRecord();
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from product")).toInt());
    EXPECT_EQ(0, dialogs.unanswered());
}

TEST_F(DataModule, DeclinedDeletionDeletesNothingAndLogsNothing)
{
    TFrm_ErrorMessage errorForm; // the handler every command's error reaches
    makeProduct(QStringLiteral("001"), QStringLiteral("苹果"));
    makeAccount(QStringLiteral("0000000002"), QStringLiteral("工行"));
    makeSupplier(QStringLiteral("0000000001"), QStringLiteral("甲厂"));
    insertRow(QStringLiteral("store"), {{"id", QStringLiteral("001")}, {"name", QStringLiteral("一号库")}});
    insertRow(QStringLiteral("employee"), {{"id", QStringLiteral("001")}, {"name", QStringLiteral("张三")}});
    insertRow(QStringLiteral("outdetail"), {{"spmc", QStringLiteral("苹果")}});
    const QString customer = makeCustomer(QStringLiteral("0000000001"), QStringLiteral("甲"));
    insertRow(QStringLiteral("cproduct"), {{"intno", customer}, {"intno1", QStringLiteral("0000000001")}});
    dm().Aqcustomer->open(); // the customer's product rows follow it
    const std::vector<std::pair<lb::db::DataSet*, QString>> asking{
        {dm().Aqproduct, "product"}, {dm().AQbank, "bank"}, {dm().AQbranch, "branch"},
        {dm().AQstore, "store"}, {dm().AQemployee, "employee"}, {dm().AQoutdetail, "outdetail"},
        {dm().Aqcproduct, "cproduct"}, {dm().AQpackage, "package"}, {dm().AQunits, "units"}};

    lb::ui::ScriptedModals modals;
    for (const auto& [dataSet, table] : asking) {
        const int rows = scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt();
        ASSERT_LT(0, rows) << table.toStdString();
        dataSet->open();
        dialogs.answer(DialogAnswer::Cancel);
        lb::ui::LbApplication::guarded(nullptr, [&] {
            dataSet->deleteRecord();
            return true;
        });
        EXPECT_EQ(QStringLiteral("确实要删除当前记录吗?"), dialogs.lastText()) << table.toStdString();
        EXPECT_EQ(rows, scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt()) << table.toStdString();
        dataSet->close();
    }
    EXPECT_EQ(9, int(dialogs.shown().size()));
    EXPECT_TRUE(modals.titles().isEmpty()); // no error form
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from apperror")).toInt());
    EXPECT_FALSE(QFile::exists(lb::AppPaths::errorLogFile()));
}

TEST_F(DataModule, CustomerDeletionAsksNothingHere)
{
    makeCustomer(QStringLiteral("0000000001"), QStringLiteral("甲"));
    dm().Aqcustomer->open();
    dm().Aqcustomer->deleteRecord();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from customer")).toInt());
}

TEST_F(DataModule, DisplayFormatsComeFromTheOptionsRow)
{
    exec(QStringLiteral("update config set amountformat='0,.00', qtyformat='0.', priceformat='0.0000'"));
    dm().applyDisplayFormats();
    EXPECT_FALSE(dm().ATCONFIG->active());

    dm().AQoutlist->open();
    EXPECT_EQ(QStringLiteral("0,.00"), dm().AQoutlist->fieldByName(QStringLiteral("deduck")).displayFormat());
    EXPECT_EQ(QStringLiteral("0."), dm().AQoutlist->fieldByName(QStringLiteral("hjsl")).displayFormat());
    dm().AQoutdetail->open();
    EXPECT_EQ(QStringLiteral("0.0000"), dm().AQoutdetail->fieldByName(QStringLiteral("dj_w")).displayFormat());
    EXPECT_EQ(QStringLiteral("0."), dm().AQoutdetail->fieldByName(QStringLiteral("sl_j")).displayFormat());
    // A field outside the options' table keeps its design-time format, or none.
    EXPECT_EQ(QString(), dm().AQoutdetail->fieldByName(QStringLiteral("sl_s")).displayFormat());
    EXPECT_EQ(QStringLiteral("0.00"), dm().Aqproduct->fieldByName(QStringLiteral("sptj")).displayFormat());
    EXPECT_EQ(QStringLiteral("0,.00"), dm().AQbank->fieldByName(QStringLiteral("deduck_y")).displayFormat());
    EXPECT_EQ(QStringLiteral("#.###"), dm().Aqcproduct->fieldByName(QStringLiteral("sl_s")).displayFormat());
    EXPECT_EQ(QStringLiteral("0."), dm().Aqcproduct->fieldByName(QStringLiteral("sl_j")).displayFormat());

    // The formats hold when the windows re-point the datasets.
    dm().AQoutlist->close();
    dm().AQoutlist->sql().setText(QStringLiteral("select * from inlist"));
    dm().AQoutlist->open();
    EXPECT_EQ(QStringLiteral("0,.00"), dm().AQoutlist->fieldByName(QStringLiteral("amount")).displayFormat());
}
