// What the administrator's data tool does: free SQL, the two lists emptied, the batch move.
#include "core/DataTool.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/db/SqliteError.h"
#include "platform/office/BatchMove.h"
#include "platform/office/DbfFile.h"
#include "platform/office/ParadoxFile.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Errors.h"

#include <QDir>
#include <QFileInfo>

namespace lb::core {

QStringList DataTool::statementLines(const QString& memo)
{
    QStringList lines;
    for (const QString& line : memo.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line;
    return lines;
}

namespace {

// The engine reads a word in double quotes as a name only, never as a text: a text written so,
// as many users write it, fails as a column the table does not have. The refusal stays and says
// how a text is written.
lb::db::Connection::StatementShape inspect(lb::db::Connection& connection, const QString& sql)
{
    try {
        return connection.inspect(sql);
    } catch (const lb::db::SqliteError& error) {
        static const QString noColumn = QStringLiteral("no such column: ");
        const QString name = error.engineMessage().mid(noColumn.size());
        if (!error.engineMessage().startsWith(noColumn) || !sql.contains(lb::db::SqlText::quoteIdentifier(name)))
            throw;
        throw lb::db::SqliteError(error.code(), error.engineMessage(), error.sql(), error.params(), error.systemError(),
                                  QStringLiteral("双引号中的\"%1\"是字段名,表中没有这个字段;文字要写在单引号中,如 '%1'。").arg(name));
    }
}

} // namespace

DataTool::Refusal DataTool::check(lb::db::Query& command, const QStringList& lines)
{
    const lb::db::Connection::StatementShape shape = inspect(command.connection(), lines.join(QLatin1Char('\n')));
    if (shape.severalStatements)
        return Refusal::SeveralStatements;
    if (shape.parameters > 0)
        return Refusal::Parameters;
    // The program runs its own commands in transactions: one the user left open would make
    // every later posting fail; another file attached would outlive the tool.
    if (shape.controlsTransactions || shape.attachesFiles)
        return Refusal::TransactionsOrFiles;
    // A pragma or a temporary object would outlive the statement: query_only would make every
    // later posting fail, a temporary trigger act on every posting, a temporary table stand in
    // for a table of the books.
    if (shape.changesSession)
        return Refusal::SessionSettings;
    return Refusal::None;
}

DataTool::Refusal DataTool::runAlone(lb::db::Query& command, const QStringList& lines, const std::function<void()>& run)
{
    command.close();
    const Refusal refusal = check(command, lines);
    if (refusal != Refusal::None)
        return refusal;
    command.sql().clear();
    for (const QString& line : lines)
        command.sql().add(line);
    // A statement that fails part-way ("update or fail" stopping at a later row) keeps
    // none of its changes.
    lb::db::Transaction transaction(command.connection());
    {
        // Checked or not, the statement itself may not change the session the program goes on
        // using; the transaction of our own begins before the guard and ends after it.
        const lb::db::SessionGuard guard(command.connection());
        run();
    }
    transaction.commit();
    return Refusal::None;
}

DataTool::Refusal DataTool::execute(lb::db::Query& command, const QStringList& lines)
{
    return runAlone(command, lines, [&command] {
        command.execSQL();
        command.close();
    });
}

DataTool::Refusal DataTool::open(lb::db::Query& command, const QStringList& lines)
{
    return runAlone(command, lines, [&command] { command.open(); });
}

void DataTool::emptyLists(lb::db::Query& command)
{
    lb::db::Transaction transaction(command.connection());
    for (const char* sql : {"delete from package", "delete from units"}) {
        command.close();
        command.sql().clear();
        command.sql().add(QString::fromLatin1(sql));
        command.execSQL();
        command.close();
    }
    transaction.commit();
}

QString DataTool::sourceTable()
{
    const QString name = QStringLiteral("lw.dbf");
    const QDir folder(lb::AppPaths::inProgramFolder(QStringLiteral("convert")));
    // Name filters ignore case.
    const QStringList found = folder.entryList({name}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    return folder.filePath(found.isEmpty() || found.contains(name) ? name : found.constFirst());
}

QString DataTool::destinationTable()
{
    return lb::AppPaths::inProgramFolder(QStringLiteral("convert/product.DB"));
}

lb::office::ExternalTable DataTool::destinationRows()
{
    if (!QFileInfo::exists(destinationTable()))
        return {};
    return lb::office::ParadoxFile::read(destinationTable());
}

int DataTool::merge(const QString& source, const QString& destination)
{
    lb::office::ExternalTable target = lb::office::ParadoxFile::read(destination);
    target.rows.clear();
    const int moved = lb::office::BatchMove::append(lb::office::DbfFile::read(source), target);
    lb::office::ParadoxFile::write(destination, target);
    return moved;
}

int DataTool::padKeys(const QString& destination)
{
    lb::office::ExternalTable table = lb::office::ParadoxFile::read(destination);
    size_t key = table.fields.size();
    for (size_t i = 0; i < table.fields.size(); ++i)
        if (table.fields[i].name.compare(QLatin1String("INTNO"), Qt::CaseInsensitive) == 0)
            key = i;
    if (key == table.fields.size())
        throw lb::Error(QStringLiteral("Field 'INTNO' not found in %1").arg(destination));
    for (std::vector<QVariant>& row : table.rows)
        row[key] = lb::office::BatchMove::convert(row[key].toString().trimmed().rightJustified(10, QLatin1Char('0')),
                                                  table.fields[key]);
    lb::office::ParadoxFile::write(destination, table);
    return int(table.rows.size());
}

} // namespace lb::core
