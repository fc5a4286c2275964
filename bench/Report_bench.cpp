// What users wait for in the report engine: a 1,000-page list generated through the bands (set
// against drawing the same pages straight onto the page writer, measured in the same run), the
// page coder's speed, and the memory a preview of those pages holds.
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfWriter.h"
#include "report/TRpCompress.h"
#include "report/TRpDBText.h"
#include "report/TRpLabel.h"
#include "report/TRpPrinter.h"
#include "report/TRpReport.h"
#include "report/TRpSysData.h"
#include "report/ui/TRpPreview.h"
#include "report/ui/TRpStandardPreview.h"

#include <QApplication>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace lb;
using namespace lb::report;

namespace {

// 23 rows fit a page of this layout: 1,000 pages.
constexpr int kRows = 23000;

// A sales list table of kRows rows in a temporary file, opened as the query AQlist.
struct ListData {
    ListData()
    {
        const QString path = dir.filePath("kvdb.db");
        db::Connection::createFile(path);
        connection.setDatabaseFile(path);
        connection.open();
        connection.execute("CREATE TABLE list (id INTEGER PRIMARY KEY, sphh VARCHAR(15), spmc VARCHAR(40), sl DOUBLE, amount DOUBLE)");
        connection.execute("BEGIN");
        for (int i = 1; i <= kRows; ++i) {
            connection.execute(QStringLiteral("INSERT INTO list (sphh, spmc, sl, amount) VALUES ('SP%1', '不锈钢螺丝 M%2', %3, %4)")
                                   .arg(i, 8, 10, QChar('0')).arg(i % 12 + 3).arg(i % 50).arg(i * 1.5));
        }
        connection.execute("COMMIT");
        query = std::make_unique<db::Query>(connection);
        query->setObjectName("AQlist");
        query->sql().setText("SELECT * FROM list ORDER BY id");
        query->open();
    }

    QTemporaryDir dir;
    db::Connection connection;
    std::unique_ptr<db::Query> query;
};

ListData& data()
{
    static ListData shared;
    return shared;
}

// Column lefts and widths, tenths of a millimetre.
const double kLefts[] = {0, 300, 1100, 1500};
const double kWidths[] = {280, 780, 380, 400};
const char* const kFields[] = {"sphh", "spmc", "sl", "amount"};
const char* const kTitles[] = {"货品代码", "货品名称", "数量", "金额"};

// Page header 200 (title, page number), column header 100, detail 100, page footer 150. The
// texts are transparent, as the direct drawing fills no backgrounds.
void buildList(TRpReport& report, db::DataSet* rows)
{
    report.SetUnits(TRpUnit::Native);
    report.SetDataSet(rows);
    TRpFont song;
    song.Name = QStringLiteral("宋体");
    report.Font = song;
    TRpBand* header = report.AddBand(rbPageHeader);
    header->Size().SetHeight(200);
    auto* title = header->Add<TRpLabel>();
    title->Transparent = true;
    title->SetCaption(QStringLiteral("朔栎商贸 销售明细表"));
    title->Size().SetBounds(0, 0, 1000, 80);
    auto* number = header->Add<TRpSysData>();
    number->SetData(TRpSysDataType::rpsPageNumber);
    number->SetText(QStringLiteral("第"));
    number->Transparent = true;
    number->Size().SetBounds(1500, 0, 300, 60);
    TRpBand* columns = report.AddBand(rbColumnHeader);
    columns->Size().SetHeight(100);
    TRpBand* detail = report.AddBand(rbDetail);
    detail->Size().SetHeight(100);
    for (int c = 0; c < 4; ++c) {
        auto* caption = columns->Add<TRpLabel>();
        caption->SetCaption(QString::fromUtf8(kTitles[c]));
        caption->Transparent = true;
        caption->Size().SetBounds(kLefts[c], 0, kWidths[c], 60);
        auto* field = detail->Add<TRpDBText>();
        field->SetDataSet(rows);
        field->SetDataField(QString::fromLatin1(kFields[c]));
        field->AutoSize = false;
        field->Transparent = true;
        field->Size().SetBounds(kLefts[c], 0, kWidths[c], 60);
    }
    TRpBand* footer = report.AddBand(rbPageFooter);
    footer->Size().SetHeight(150);
    auto* page = footer->Add<TRpSysData>();
    page->SetData(TRpSysDataType::rpsPageNumber);
    page->SetText(QStringLiteral("第"));
    page->Transparent = true;
    page->Size().SetBounds(0, 0, 300, 60);
}

int px(double native)
{
    return int(std::lround(native * 96 / 254));
}

// The same pages drawn without the engine: the rows walked, each text written at its place,
// each page stored.
int drawDirectly(db::DataSet& rows)
{
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(250000));
    const gfx::EmfFont font = TRpFont{QStringLiteral("宋体")}.Emf();
    const QRect noClip;
    int page = 0;
    rows.first();
    while (!rows.eof()) {
        ++page;
        gfx::EmfWriter writer(794, 1123);
        writer.setBkMode(gfx::emf::TRANSPARENT);
        writer.selectObject(writer.createFont(font));
        const auto text = [&writer](double left, double top, double width, const QString& value) {
            const QRect clip(QPoint(px(100 + left), px(top)), QPoint(px(100 + left + width), px(top + 60)));
            writer.extTextOut(QPoint(px(100 + left), px(top)), gfx::emf::ETO_CLIPPED, clip, value);
        };
        text(0, 100, 1000, QStringLiteral("朔栎商贸 销售明细表"));
        text(1500, 100, 300, QStringLiteral("第") + QString::number(page));
        for (int c = 0; c < 4; ++c)
            text(kLefts[c], 300, kWidths[c], QString::fromUtf8(kTitles[c]));
        for (int line = 0; line < 23 && !rows.eof(); ++line, rows.next()) {
            for (int c = 0; c < 4; ++c)
                text(kLefts[c], 400 + line * 100, kWidths[c], rows.fieldByName(QString::fromLatin1(kFields[c])).displayText());
        }
        text(0, 2720, 300, QStringLiteral("第") + QString::number(page));
        list.AddPage(writer.finish());
    }
    return list.PageCount();
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_ListReport(benchmark::State& state)
{
    db::DataSet& rows = *data().query;
    TRpReport report;
    buildList(report, &rows);
    std::chrono::steady_clock::duration engine{};
    std::chrono::steady_clock::duration direct{};
    int pages = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        pages = drawDirectly(rows);
        direct += std::chrono::steady_clock::now() - start;
        start = std::chrono::steady_clock::now();
        report.Prepare();
        engine += std::chrono::steady_clock::now() - start;
        if (report.RpPrinter()->PageCount() != pages)
            state.SkipWithError("the engine and the direct drawing made different page counts");
        report.FreeRpPrinter();
    }
    const double n = double(state.iterations());
    state.counters["pages"] = pages;
    state.counters["direct_ms"] = seconds(direct) / n * 1000;
    state.counters["engine_ms"] = seconds(engine) / n * 1000;
    state.counters["vs_direct"] = seconds(engine) / seconds(direct);
}

// Coding and decoding the pages of the list, in megabytes of page per second.
void BM_PageCoder(benchmark::State& state)
{
    TRpReport report;
    buildList(report, data().query.get());
    report.Prepare();
    std::vector<QByteArray> pages;
    for (int n = 1; n <= 50; ++n)
        pages.push_back(report.RpPrinter()->GetPage(n)->bytes());
    qint64 bytes = 0;
    std::chrono::steady_clock::duration coding{};
    std::chrono::steady_clock::duration decoding{};
    for (auto _ : state) {
        for (const QByteArray& page : pages) {
            QByteArray code;
            code.reserve(page.size());
            auto start = std::chrono::steady_clock::now();
            {
                TRpCompress coder(&code);
                for (char c : page)
                    coder.Compress(std::uint8_t(c));
            }
            coding += std::chrono::steady_clock::now() - start;
            QByteArray back(page.size(), Qt::Uninitialized);
            start = std::chrono::steady_clock::now();
            TRpCompress reader{QByteArrayView(code)};
            for (qsizetype i = 0; i < back.size(); ++i)
                back[i] = char(reader.Expand());
            decoding += std::chrono::steady_clock::now() - start;
            if (back != page)
                state.SkipWithError("a page did not decode to itself");
            bytes += page.size();
        }
    }
    state.counters["code_MBps"] = bytes / 1e6 / seconds(coding);
    state.counters["decode_MBps"] = bytes / 1e6 / seconds(decoding);
}

qint64 residentKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// The preview of the 1,000 pages: shown, every page visited, the thumbnails drawn. Run alone
// (--benchmark_filter=Preview) for a resident size that is the preview's.
void BM_PreviewMemory(benchmark::State& state)
{
    TRpReport report;
    buildList(report, data().query.get());
    for (auto _ : state) {
        report.Prepare();
        auto* preview = new ui::TRpStandardPreview(*report.RpPrinter());
        preview->show();
        for (int n = 1; n <= report.RpPrinter()->PageCount(); n += 10) {
            preview->GoToPage(n);
            preview->repaint();
        }
        QApplication::processEvents();
        state.counters["rss_MB"] = residentKiB() / 1024.0;
        preview->close();
        QApplication::processEvents();
        report.FreeRpPrinter();
    }
}

} // namespace

BENCHMARK(BM_ListReport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PageCoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
