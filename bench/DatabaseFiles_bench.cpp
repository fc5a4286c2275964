// Compaction, the backup at close and year-end on the books of a busy shop's year, each set
// against copying the database once with VACUUM INTO in the same run.
#include "bench/BigBooks.h"
#include "core/CompactDatabase.h"
#include "core/DatabaseFiles.h"
#include "core/PeriodCommands.h"
#include "core/ShutdownBackup.h"
#include "core/Tfrdm.h"
#include "platform/db/Connection.h"
#include "platform/sys/AppPaths.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QFile>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using lb::core::PeriodCommands;
using lb::core::ShutdownBackup;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The engine's own copy of the books into a new file, as the measure of what a copy costs.
Clock::duration vacuumInto(const QString& database)
{
    const QString copy = database + QStringLiteral(".vacuumed");
    QFile::remove(copy);
    const auto start = Clock::now();
    {
        lb::db::Connection connection;
        connection.setDatabaseFile(database);
        connection.open();
        connection.execute(QStringLiteral("VACUUM INTO '%1'").arg(copy));
    }
    const Clock::duration spent = Clock::now() - start;
    QFile::remove(copy);
    return spent;
}

// Each iteration starts from a fresh copy of the big books (scale 1 or 2) and runs, timed one by
// one: VACUUM INTO a new file; the engine's full integrity check of the books, the one check
// each procedure runs on what replaces the books or a copy; the compaction (the window's and
// every other caller's); the backup at close (compaction, then the works folder into BAK and the
// weekday folder); and year-end as the menu runs it (compaction, the LASTBAK snapshot proven the
// same, the year closed). The reported time is year-end's.
void BM_FileProceduresOnBigBooks(benchmark::State& state)
{
    const int scale = int(state.range(0));
    lb::bench::BookFolder books(scale);
    lb::ui::ScriptedDialogs dialogs;
    Clock::duration vacuum{}, check{}, compaction{}, backup{}, yearEnd{};
    for (auto _ : state) {
        state.PauseTiming();
        books.restore(scale);
        state.ResumeTiming();
        vacuum += vacuumInto(books.database());

        lb::core::DatabaseFiles::whileDisconnected(*frdm, [&] {
            auto start = Clock::now();
            lb::core::checkDatabaseFile(books.database());
            check += Clock::now() - start;
            start = Clock::now();
            lb::core::compactDatabaseFile(books.database());
            compaction += Clock::now() - start;
            start = Clock::now();
            if (!ShutdownBackup::run().isEmpty())
                std::abort();
            backup += Clock::now() - start;
        });

        dialogs.clear();
        dialogs.type(QStringLiteral("888")).answer(lb::ui::DialogAnswer::Ok);
        const auto start = Clock::now();
        PeriodCommands::yearEnd();
        const Clock::duration closing = Clock::now() - start;
        if (dialogs.lastText() != QStringLiteral("年终数据处理完成，请到数据维护中进行数据压缩整理。")) {
            fprintf(stderr, "year-end: %s\n", dialogs.lastText().toUtf8().constData());
            std::abort();
        }
        yearEnd += closing;
        state.SetIterationTime(seconds(closing));
    }
    const double iterations = double(state.iterations());
    state.counters["vacuum_ms"] = seconds(vacuum) * 1000 / iterations;
    state.counters["check_ms"] = seconds(check) * 1000 / iterations;
    state.counters["compact_ms"] = seconds(compaction) * 1000 / iterations;
    state.counters["backup_ms"] = seconds(backup) * 1000 / iterations;
    state.counters["compact_vs"] = seconds(compaction) / seconds(vacuum);
    state.counters["backup_vs"] = seconds(backup) / seconds(vacuum);
    state.counters["yearend_vs"] = seconds(yearEnd) / seconds(vacuum);
    // The same less the one full check each runs: what the aims from before the check measure.
    state.counters["compact_net_vs"] = seconds(compaction - check) / seconds(vacuum);
    state.counters["backup_net_vs"] = seconds(backup - check) / seconds(vacuum);
    state.counters["yearend_net_vs"] = seconds(yearEnd - check) / seconds(vacuum);
}

} // namespace

BENCHMARK(BM_FileProceduresOnBigBooks)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
