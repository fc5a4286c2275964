// The backup at close killed at twenty moments: the next start finds sound books and clean folders.
#include "MainWindowFixture.h"

#include "core/CompactDatabase.h"
#include "core/ShutdownBackup.h"
#include "platform/db/Connection.h"

#include <QDir>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using lb::core::ShutdownBackup;
using lb::core::Tfrmain;

namespace {

using Clock = std::chrono::steady_clock;

class KilledBackup : public MainWindowFixture {
protected:
    // Runs the backup at close in a child process and kills it after `delay` unless it has
    // ended by then. Returns whether it was killed; `took` receives how long a backup that
    // ended took.
    static bool backupKilledAfter(Clock::duration delay, Clock::duration& took)
    {
        const Clock::time_point begin = Clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            ShutdownBackup::run();
            ::_exit(0);
        }
        if (child < 0)
            return false;
        while (Clock::now() - begin < delay) {
            if (::waitpid(child, nullptr, WNOHANG) == child) {
                took = Clock::now() - begin;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        return true;
    }

    void endRun()
    {
        dialogs.answer(lb::ui::DialogAnswer::No);
        window->close();
        window.reset(); // gives up the single-instance lock
        frmain = nullptr;
    }

    void nextStart()
    {
        window = std::make_unique<Tfrmain>();
        frmain = window.get();
        start();
    }

    QStringList entries(const QString& relative) const
    {
        return QDir(folder.filePath(relative)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

} // namespace

TEST_F(KilledBackup, TwentyKillsLeaveSoundBooksAndOnlyTheDatabaseInWorksAndBak)
{
    // Enough rows for the compaction and the copies to take a few milliseconds each.
    constexpr int products = 3000;
    exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < :p1) "
                        "insert into product (intno, sphh, spmc) "
                        "select printf('%010d', i), i, '货品名称较长的一件商品' || i from n"),
         {products});
    start();
    endRun();

    // One whole backup: how long it takes, and the copies the killed ones would replace.
    Clock::duration whole{};
    ASSERT_FALSE(backupKilledAfter(std::chrono::seconds(20), whole));
    const QStringList clean{QStringLiteral("kvdb.mdb")};
    ASSERT_EQ(clean, entries(QStringLiteral("BAK1")));

    // The kills are spread over a whole backup; one that comes too late (the machine was busy)
    // is tried again at the same share of the time the backup then took.
    int killed = 0;
    int leftBehind = 0;
    for (int attempt = 0; killed < 20 && attempt < 60; ++attempt) {
        if (backupKilledAfter(whole * (2 * killed + 1) / 40, whole))
            ++killed;
        if (entries(QStringLiteral("works")) != clean || entries(QStringLiteral("BAK")) != clean
            || entries(QStringLiteral("BAK1")) != clean)
            ++leftBehind;
        nextStart();
        EXPECT_EQ(clean, entries(QStringLiteral("works"))) << "attempt " << attempt;
        EXPECT_EQ(clean, entries(QStringLiteral("BAK"))) << "attempt " << attempt;
        EXPECT_EQ(clean, entries(QStringLiteral("BAK1"))) << "attempt " << attempt;
        EXPECT_EQ(products, scalar(QStringLiteral("select count(*) from product")).toInt()) << "attempt " << attempt;
        for (const char* copy : {"BAK/kvdb.mdb", "BAK1/kvdb.mdb"})
            EXPECT_NO_THROW(lb::core::checkDatabaseFile(folder.filePath(QString::fromLatin1(copy)))) << copy << attempt;
        endRun();
    }
    EXPECT_EQ(20, killed);
    EXPECT_GE(leftBehind, 1) << "kills during the compaction and the copies leave files for the start to remove";
}
