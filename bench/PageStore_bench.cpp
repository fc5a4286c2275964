// What users wait for around report pages: generating a long report into the page store, saving
// and loading it as a report file, and drawing one page of the preview. Saving and loading are
// set against a plain copy of the same bytes measured in the same run (counter "vs_copy").
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfPlayer.h"
#include "platform/gfx/EmfWriter.h"
#include "report/TRpPageList.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace lb::gfx;
using namespace lb::report;

namespace {

constexpr int kPages = 200;

// A page of a sales list: title, column captions, 40 lines of six columns, rules and a total.
EmfMetafile listPage(int number)
{
    EmfWriter writer(794, 1123);
    writer.setBkMode(emf::TRANSPARENT);
    writer.setTextAlign(emf::TA_LEFT | emf::TA_TOP);
    const quint32 title = writer.createFont(EmfFont::fromPoints("宋体", 16, true));
    const quint32 body = writer.createFont(EmfFont::fromPoints("宋体", 9));
    writer.selectObject(title);
    writer.extTextOut(QPoint(250, 40), 0, QRect(), QStringLiteral("朔栎商贸 销售汇总表"));
    writer.selectObject(body);
    writer.selectObject(writer.createPen(emf::PS_SOLID, 0, Qt::black));
    const int columns[] = {40, 140, 330, 430, 520, 620};
    const QString captions[] = {"单据编号", "客户名称", "商品", "数量", "单价", "金额"};
    for (int c = 0; c < 6; ++c)
        writer.extTextOut(QPoint(columns[c], 90), 0, QRect(), captions[c]);
    for (int line = 0; line < 40; ++line) {
        const int y = 115 + line * 22;
        const QString cells[] = {QStringLiteral("XS%1").arg(number * 100 + line, 8, 10, QChar('0')),
                                 QStringLiteral("华东五金有限公司"), QStringLiteral("不锈钢螺丝 M%1").arg(line % 12 + 3),
                                 QString::number(line * 3 + number % 7), QStringLiteral("%1.50").arg(line + 2),
                                 QStringLiteral("%1.00").arg((line + 2) * (line * 3 + 1))};
        for (int c = 0; c < 6; ++c)
            writer.extTextOut(QPoint(columns[c], y), emf::ETO_CLIPPED,
                              QRect(QPoint(columns[c], y), QPoint(columns[c] + 95, y + 20)), cells[c]);
        writer.moveTo(QPoint(40, y + 20));
        writer.lineTo(QPoint(754, y + 20));
    }
    writer.selectObject(emf::kStockObject | emf::NULL_BRUSH);
    writer.rectangle(QRect(QPoint(36, 86), QPoint(758, 1000)));
    writer.extTextOut(QPoint(620, 1010), 0, QRect(), QStringLiteral("第 %1 页").arg(number));
    return EmfMetafile::fromBytes(writer.finish());
}

const std::vector<EmfMetafile>& pages()
{
    static const std::vector<EmfMetafile> all = [] {
        std::vector<EmfMetafile> made;
        for (int i = 1; i <= kPages; ++i)
            made.push_back(listPage(i));
        return made;
    }();
    return all;
}

std::unique_ptr<TRpPageList> report(bool coded)
{
    auto list = std::make_unique<TRpPageList>();
    list->SetStream(std::make_unique<TRpStream>(250000));
    list->SetCompression(coded);
    for (const EmfMetafile& page : pages())
        list->AddPage(page.bytes());
    list->WriteFileHeader();
    return list;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Mean time of writing `bytes` to a file and reading it back, the floor any report file
// operation of that size stands on.
double plainCopy(const QString& name, const QByteArray& bytes, bool read)
{
    constexpr int kRepeats = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRepeats; ++i) {
        QFile file(name);
        if (read) {
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        } else {
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
    }
    return seconds(std::chrono::steady_clock::now() - start) / kRepeats;
}

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void BM_GenerateReport(benchmark::State& state)
{
    QTemporaryDir dir;
    QByteArray all;
    for (const EmfMetafile& page : pages())
        all.append(page.bytes());
    const double copy = plainCopy(dir.filePath("copy.bin"), all, false);
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(report(state.range(0) != 0));
        spent += std::chrono::steady_clock::now() - start;
    }
    state.SetLabel(state.range(0) ? "coded" : "plain");
    state.SetItemsProcessed(state.iterations() * kPages);
    state.counters["vs_copy"] = seconds(spent) / double(state.iterations()) / copy;
}

void BM_SaveReport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("report.rpf");
    auto list = report(state.range(0) != 0);
    list->SaveToFile(name);
    const double copy = plainCopy(dir.filePath("copy.bin"), fileBytes(name), false);
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        list->SaveToFile(name);
        spent += std::chrono::steady_clock::now() - start;
    }
    state.SetLabel(state.range(0) ? "coded" : "plain");
    state.counters["file_KiB"] = double(fileBytes(name).size()) / 1024;
    state.counters["vs_copy"] = seconds(spent) / double(state.iterations()) / copy;
}

// Loading a report file and fetching every page, as the preview's thumbnails do.
void BM_LoadReport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("report.rpf");
    report(state.range(0) != 0)->SaveToFile(name);
    const double copy = plainCopy(name, QByteArray(), true);
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TRpPageList list;
        list.LoadFromFile(name);
        for (int n = 1; n <= list.PageCount(); ++n)
            benchmark::DoNotOptimize(list.GetPage(n));
        spent += std::chrono::steady_clock::now() - start;
    }
    state.SetLabel(state.range(0) ? "coded" : "plain");
    state.counters["vs_copy"] = seconds(spent) / double(state.iterations()) / copy;
}

// One preview page: fetch it from the store and draw it at 100 %.
void BM_ShowPage(benchmark::State& state)
{
    auto list = report(true);
    QImage image(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        EmfPlayer::play(*list->GetPage(kPages / 2), painter, QRectF(0, 0, 794, 1123));
    }
}

} // namespace

BENCHMARK(BM_GenerateReport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveReport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowPage)->Unit(benchmark::kMillisecond);
