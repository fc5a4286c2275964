// The error log: how an error is classified, and how it is written to apperror or the text log.
#include "core/ErrorLog.h"

#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/db/Connection.h"
#include "platform/db/Table.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QWidget>

#include <new>
#include <stdexcept>
#include <typeinfo>

namespace lb::core {

namespace {

struct Described {
    lb::ErrorKind kind;
    QString className;
    QString message;
};

Described describeError(const std::exception& error)
{
    const QString what = QString::fromUtf8(error.what());
    if (const auto* own = dynamic_cast<const lb::Error*>(&error))
        return {own->kind(), QString::fromLatin1(own->className()), own->shownText()};
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return {lb::ErrorKind::Other, QStringLiteral("EOutOfMemory"), QStringLiteral("Out of memory")};
    if (dynamic_cast<const std::bad_cast*>(&error))
        return {lb::ErrorKind::InvalidCast, QStringLiteral("EInvalidCast"), what};
    if (dynamic_cast<const std::out_of_range*>(&error))
        return {lb::ErrorKind::Range, QStringLiteral("ERangeError"), what};
    if (dynamic_cast<const std::invalid_argument*>(&error))
        return {lb::ErrorKind::Convert, QStringLiteral("EConvertError"), what};
    if (dynamic_cast<const std::overflow_error*>(&error))
        return {lb::ErrorKind::Overflow, QStringLiteral("EOverflow"), what};
    if (dynamic_cast<const std::underflow_error*>(&error))
        return {lb::ErrorKind::Underflow, QStringLiteral("EUnderflow"), what};
    return {lb::ErrorKind::Other, QStringLiteral("Exception"), what};
}

QString activeCaption(const QWidget* source)
{
    QString caption;
    const QWidget* active = QApplication::activeWindow();
    if (!active && source)
        active = source->window();
    if (active)
        caption = active->windowTitle().left(255);
    return caption.isEmpty() ? QStringLiteral("无标题") : caption;
}

} // namespace

QString ErrorLog::kindText(lb::ErrorKind kind)
{
    switch (kind) {
    case lb::ErrorKind::Convert: return QStringLiteral("输入的数据类型错误");
    case lb::ErrorKind::DivByZero: return QStringLiteral("整数除0溢出");
    case lb::ErrorKind::IntOverflow: return QStringLiteral("整数溢出 ");
    case lb::ErrorKind::Range: return QStringLiteral("整数越界");
    case lb::ErrorKind::Int: return QStringLiteral("整数计算异常(基类)");
    case lb::ErrorKind::InvalidOp: return QStringLiteral("无效浮点操作指令");
    case lb::ErrorKind::Overflow: return QStringLiteral("浮点操作上溢");
    case lb::ErrorKind::Underflow: return QStringLiteral("浮点操作下溢");
    case lb::ErrorKind::ZeroDivide: return QStringLiteral("浮点计算除0");
    case lb::ErrorKind::Math: return QStringLiteral("浮点数计算异常(基类)");
    case lb::ErrorKind::InvalidCast: return QStringLiteral("类型转换异常");
    case lb::ErrorKind::Database: return QStringLiteral("数据库错误");
    case lb::ErrorKind::FileOpen: return QStringLiteral("文件不能打开");
    case lb::ErrorKind::AccessViolation: return QStringLiteral("访问了无效的内存区域!");
    case lb::ErrorKind::Other: break;
    }
    return QStringLiteral("系统错误!");
}

ErrorEntry ErrorLog::describe(const std::exception& error, const QString& reporter, const QWidget* source)
{
    const Described d = describeError(error);
    return {kindText(d.kind), activeCaption(source), reporter.isEmpty() ? d.className : reporter, lb::Clock::now(), d.message};
}

bool ErrorLog::writeRow(lb::db::Table& apperror, const ErrorEntry& entry)
{
    try {
        if (!apperror.active())
            apperror.open();
        apperror.append();
        apperror.fieldByName(QStringLiteral("capt")).setAsString(entry.kindText);
        apperror.fieldByName(QStringLiteral("titl")).setAsString(entry.caption);
        apperror.fieldByName(QStringLiteral("name")).setAsString(entry.className);
        apperror.fieldByName(QStringLiteral("rq")).setAsDateTime(entry.when);
        apperror.fieldByName(QStringLiteral("mess")).setAsString(entry.message);
        apperror.post();
        apperror.refresh();
        return true;
    } catch (...) {
        // The caller falls back to the text log; a half-made row must not be posted later.
        try {
            if (apperror.active())
                apperror.cancel();
        } catch (...) {
        }
        return false;
    }
}

bool ErrorLog::rowHoldsWhole(lb::db::Table& apperror, const ErrorEntry& entry)
{
    const int size = apperror.fieldByName(QStringLiteral("mess")).size();
    return size <= 0 || entry.message.size() <= size;
}

bool ErrorLog::keep(lb::db::Table* apperror, const QString& logFile, const ErrorEntry& entry)
{
    if (apperror && apperror->connection().inTransaction()) {
        apperror->connection().afterTransactions([table = QPointer<lb::db::Table>(apperror), logFile, entry] {
            keep(table, logFile, entry);
        });
        return true;
    }
    const bool row = apperror && writeRow(*apperror, entry);
    if (row && rowHoldsWhole(*apperror, entry))
        return true;
    return appendLine(logFile, entry);
}

QString ErrorLog::logLine(const ErrorEntry& entry)
{
    return entry.kindText + QLatin1Char(' ') + entry.className + QLatin1Char(' ')
           + entry.when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + QLatin1Char(' ') + entry.message;
}

bool ErrorLog::appendLine(const QString& logFile, const ErrorEntry& entry)
{
    QFile file(logFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    const QByteArray line = (logLine(entry) + QLatin1Char('\n')).toUtf8();
    return file.write(line) == line.size() && file.flush();
}

void ErrorLog::clear(lb::db::Table& apperror, lb::db::Query& command, const QString& logFile)
{
    if (QFile::exists(logFile))
        QFile::remove(logFile);
    command.close();
    command.sql().clear();
    command.sql().add(QStringLiteral("delete from apperror"));
    command.execSQL();
    command.close();
    apperror.close();
    apperror.open();
}

Reporter::Reporter(const QObject* sender)
{
    if (!sender)
        return;
    source = sender->isWidgetType() ? static_cast<const QWidget*>(sender) : nullptr;
    if (source && source->isWindow() && !sender->objectName().isEmpty())
        name = sender->objectName();
    else
        name = QString::fromLatin1(sender->metaObject()->className()).section(QStringLiteral("::"), -1);
}

Reporter::Reporter(QString command)
    : name(std::move(command))
{
}

bool logEntry(const ErrorEntry& entry, LogPlace place)
{
    if (place == LogPlace::TextLog)
        return ErrorLog::appendLine(lb::AppPaths::errorLogFile(), entry);
    return ErrorLog::keep(frdm ? frdm->ATapperror : nullptr, lb::AppPaths::errorLogFile(), entry);
}

void logError(const Reporter& who, const std::exception& error, const QString& command, LogPlace place)
{
    ErrorEntry entry = ErrorLog::describe(error, who.name, who.source);
    if (!command.isEmpty())
        entry.message = command + QLatin1Char('\n') + entry.message;
    // A log that cannot be written either leaves the user's message as the only trace.
    logEntry(entry, place);
}

void logFailures(const Reporter& who, const QString& command, const QList<lb::FileFailure>& failures)
{
    for (const lb::FileFailure& failure : failures)
        logError(who, lb::FileWriteError(failure), command, LogPlace::TextLog);
}

} // namespace lb::core
