// Where the books live: a data folder of the user's, never the program's or the build's folder.
#include "platform/sys/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

using lb::AppPaths;

namespace {

// Sets environment variables for one test (an empty optional unsets one) and puts the old
// values back.
class Environment {
public:
    using Value = std::optional<QByteArray>;
    ~Environment()
    {
        for (const auto& [name, value] : saved_)
            assign(name.c_str(), value);
    }
    void set(const char* name, const Value& value)
    {
        if (!saved_.count(name))
            saved_[name] = qEnvironmentVariableIsSet(name) ? Value(qgetenv(name)) : Value();
        assign(name, value);
    }

private:
    static void assign(const char* name, const Value& value)
    {
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    std::map<std::string, Value> saved_;
};

} // namespace

TEST(AppPaths, TheBooksLiveInTheDataFolderNamedByTheEnvironment)
{
    Environment env;
    env.set("LEDGERBOX_HOME", std::nullopt);
    env.set("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(QStringLiteral("/srv/data/ledgerbox"), AppPaths::programFolder());
    EXPECT_EQ(QStringLiteral("/srv/data/ledgerbox/works/kvdb.mdb"), AppPaths::databaseFile());

    env.set("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(QDir::homePath() + QStringLiteral("/.local/share/ledgerbox"), AppPaths::programFolder());
    env.set("XDG_DATA_HOME", "relative/data"); // not absolute: ignored
    EXPECT_EQ(QDir::homePath() + QStringLiteral("/.local/share/ledgerbox"), AppPaths::programFolder());

    env.set("LEDGERBOX_HOME", "/srv/books/");
    EXPECT_EQ(QStringLiteral("/srv/books"), AppPaths::programFolder());
    env.set("LEDGERBOX_HOME", "books");
    EXPECT_EQ(QDir::current().absoluteFilePath(QStringLiteral("books")), AppPaths::programFolder());

    AppPaths::setProgramFolder(QStringLiteral("/tmp/test-books"));
    EXPECT_EQ(QStringLiteral("/tmp/test-books/works"), AppPaths::worksFolder());
    AppPaths::setProgramFolder(QString());
    EXPECT_NE(QCoreApplication::applicationDirPath(), AppPaths::programFolder());
}
