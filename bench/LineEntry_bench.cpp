// Entering a sale's lines through its entry form, as a clerk types them, against the same steps
// on the datasets without the window.
#include "BigBooks.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "documents/DocumentCatalog.h"
#include "documents/DocumentEditing.h"
#include "documents/DocumentEntryForm.h"
#include "documents/DocumentKinds.h"
#include "documents/DocumentPosting.h"
#include "platform/db/Query.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/DialogResponder.h"
#include "platform/ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using lb::documents::BillKind;
using lb::documents::DocumentEditing;
using lb::documents::DocumentEntryForm;
using lb::documents::DocumentKinds;
using lb::documents::DocumentPosting;

namespace {

constexpr int kLines = 40;
const QString kCustomer = QStringLiteral("0000000001");

// Entering lines asks nothing: a box would wait for a click that never comes.
class NoBoxes : public lb::ui::DialogResponder {
public:
    NoBoxes() : previous_(lb::ui::Dialogs::setResponder(this)) {}
    ~NoBoxes() override { lb::ui::Dialogs::setResponder(previous_); }
    NoBoxes(const NoBoxes&) = delete;
    NoBoxes& operator=(const NoBoxes&) = delete;
    lb::ui::DialogAnswer ask(const lb::ui::DialogRequest& request) override { return unexpected(request); }
    std::optional<QString> askText(const lb::ui::DialogRequest& request) override
    {
        unexpected(request);
        return std::nullopt;
    }

private:
    [[noreturn]] static lb::ui::DialogAnswer unexpected(const lb::ui::DialogRequest& request)
    {
        fprintf(stderr, "a box while entering lines: %s\n", request.text.toUtf8().constData());
        std::abort();
    }
    lb::ui::DialogResponder* previous_;
};

QString productCode(int line) { return QStringLiteral("SP%1").arg(line % 200 + 1, 6, 10, QLatin1Char('0')); }

void press(QWidget* widget, int key, const QString& text)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &event);
}

// The form's way: the code typed into the code box and Enter (the line filled and recalculated,
// the cursor in its quantity), the quantity typed into the cell and Enter (stored, recalculated,
// a new line), or 新增行 in its place with `byNewLine`, which takes the quantity being typed.
void throughTheForm(DocumentEntryForm& form, int lines, bool byNewLine)
{
    for (int line = 0; line < lines; ++line) {
        form.Edit12->setFocus();
        form.Edit12->setText(productCode(line));
        press(form.Edit12, Qt::Key_Return, QStringLiteral("\r"));
        press(form.DBGrid1, Qt::Key_3, QStringLiteral("3"));
        if (byNewLine)
            form.action(QStringLiteral("ToolButton1"))->trigger();
        else
            press(QApplication::focusWidget(), Qt::Key_Return, QStringLiteral("\r"));
        QApplication::processEvents(); // the delegate commits on a queued call
    }
}

// The same steps on the shared datasets, pointed at the document as the form points them.
void onTheDataSets(const QString& intno, int lines)
{
    const auto& sales = DocumentKinds::of(BillKind::Sales);
    lb::db::Query& header = *frdm->AQoutlist;
    lb::db::Query& rows = *frdm->AQoutdetail;
    header.close();
    header.sql().setText(QStringLiteral("select * from outlist where intno=:p1"));
    header.paramByName(QStringLiteral("p1")).setAsString(intno);
    header.open();
    rows.close();
    rows.sql().setText(QStringLiteral("select * from outdetail where mainintno=:p1 order by intno"));
    rows.paramByName(QStringLiteral("p1")).setAsString(intno);
    rows.open();
    rows.setOnNewRecord([intno](lb::db::DataSet& row) { row.fieldByName(QStringLiteral("mainintno")).setAsString(intno); });
    lb::documents::HeaderBoxes boxes;
    boxes.partyCode = kCustomer;
    boxes.billdate = QStringLiteral("2026-12-31");
    for (int line = 0; line < lines; ++line) {
        rows.last();
        const auto product = DocumentEditing::findProduct(frdm->ADOCon, sales, productCode(line));
        DocumentEditing::fillFromProduct(sales, rows, *product);
        DocumentEditing::recalculate(sales, intno, header, rows, boxes);
        rows.edit();
        rows.fieldByName(QStringLiteral("sl")).setText(QStringLiteral("3"));
        rows.post();
        DocumentEditing::appendLine(sales, intno, rows);
    }
    rows.setOnNewRecord({});
    rows.close();
    header.close();
}

// The lines of `intno` that hold a product and the quantity typed.
int enteredLines(const QString& intno)
{
    lb::db::Query count(frdm->ADOCon);
    count.sql().add(QStringLiteral("select count(*) from outdetail where mainintno=:p1 and spintno<>'' and sl=3"));
    count.paramByName(QStringLiteral("p1")).setAsString(intno);
    count.open();
    return int(count.field(0).asInteger());
}

using Clock = std::chrono::steady_clock;

// Each iteration enters a sale of 40 lines in the two ways on books of 200 products, each into
// a new document; the reported time is the form's. The argument: 0 ends each quantity with
// Enter, 1 with 新增行.
void BM_EnterSaleLines(benchmark::State& state)
{
    lb::bench::BookFolder books(&lb::bench::BigBooks::makeSmall);
    const NoBoxes boxes;
    Clock::duration onDataSets{};
    Clock::duration throughForm{};
    for (auto _ : state) {
        const QString intno = DocumentPosting::create(frdm->ADOCon, DocumentKinds::of(BillKind::Sales), QString());
        auto start = Clock::now();
        onTheDataSets(intno, kLines);
        onDataSets += Clock::now() - start;

        frmain->NewBillFlag = true;
        auto* form = new DocumentEntryForm(lb::documents::DocumentCatalog::salesEntryForm(), frmain);
        form->showWork(true);
        QApplication::setActiveWindow(form);
        QApplication::processEvents();
        form->box(QStringLiteral("Edit2"))->setText(kCustomer);
        start = Clock::now();
        throughTheForm(*form, kLines, state.range(0) == 1);
        const Clock::duration spent = Clock::now() - start;
        throughForm += spent;
        state.SetIterationTime(std::chrono::duration<double>(spent).count());
        const QString entered = form->documentNo();
        form->close();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QString& document : {intno, entered})
            if (enteredLines(document) != kLines)
                std::abort(); // a way that lost lines measures nothing
    }
    const double iterations = double(state.iterations());
    state.counters["datasets_ms"] = std::chrono::duration<double, std::milli>(onDataSets).count() / iterations;
    state.counters["form_vs_datasets"] = std::chrono::duration<double>(throughForm).count()
                                         / std::chrono::duration<double>(onDataSets).count();
    state.SetItemsProcessed(state.iterations() * kLines);
}

} // namespace

BENCHMARK(BM_EnterSaleLines)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
