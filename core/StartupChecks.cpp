// Rules of the start of a run that need no window: the database file check and the year-end reminder.
#include "core/StartupChecks.h"

#include "platform/sys/DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lb::core {

QString StartupChecks::databaseFileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("数据库文件不存在: %1").arg(info.absoluteFilePath());
    // Opened as the engine opens it, for writing: the permission bits alone do not tell (an
    // administrator ignores them, a read-only disk or a locked file refuses all the same).
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadWrite))
        return QStringLiteral("数据库文件不能读写: %1").arg(info.absoluteFilePath());
    static const QByteArray header("SQLite format 3", 16); // includes the closing zero byte
    if (file.read(header.size()) != header)
        return QStringLiteral("数据库文件格式不对: %1").arg(info.absoluteFilePath());
    // Every change writes a journal beside the file first: without it nothing can be stored.
    QTemporaryFile probe(info.absolutePath() + QLatin1Char('/') + lb::DurableFile::temporaryPrefix()
                         + QStringLiteral("XXXXXX"));
    if (!probe.open())
        return QStringLiteral("数据文件夹不能写入: %1").arg(info.absolutePath());
    return QString();
}

bool StartupChecks::isYearEndReminderDay(const QDate& today)
{
    return today.month() == 12 && today.day() > 25;
}

QString StartupChecks::yearEndReminderText()
{
    return QStringLiteral("提示:又到年底了,请做完本年度业务后,做新一年业务之前,先做年度数据备份\r\r"
                          "并做年终数据处理(一般是在12月31日做完业务后或1月1日做业务前).");
}

} // namespace lb::core
