// The global error hook: silent aborts, errors handed to the handler with their sender.
#include "platform/ui/LbApplication.h"

#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QApplication>
#include <QTranslator>
#include <QWidget>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using lb::ui::LbApplication;

namespace {

// A widget whose key handler fails the way a command does.
class Failing : public QWidget {
public:
    std::function<void()> fail;
};

// The handler fails inside the guard, as under LbApplication::notify. The key press is not sent
// through Qt's own delivery: no exception may cross Qt's frames, not even in a test.
void pressKey(Failing& widget)
{
    LbApplication::guarded(&widget, [&] {
        widget.fail();
        return true;
    });
}

struct Reported {
    QObject* sender = nullptr;
    QString message;
    bool convert = false;
    int count = 0;
};

class LbApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LbApplication::setErrorHandler([this](QObject* sender, const std::exception& error) {
            ++reported.count;
            reported.sender = sender;
            const auto* own = dynamic_cast<const lb::Error*>(&error);
            reported.message = own ? own->message() : QString::fromUtf8(error.what());
            reported.convert = own && own->kind() == lb::ErrorKind::Convert;
        });
    }
    void TearDown() override { LbApplication::setErrorHandler(nullptr); }

    Reported reported;
    Failing widget;
};

TEST_F(LbApplicationTest, abortIsSilent)
{
    lb::ui::ScriptedDialogs dialogs;
    widget.fail = [] { throw lb::Abort(); };
    pressKey(widget);
    EXPECT_EQ(0, reported.count);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(LbApplicationTest, ownErrorsReachTheHandlerWithKindAndSender)
{
    widget.fail = [] { throw lb::ConvertError("'abc' is not a valid floating point value"); };
    pressKey(widget);
    EXPECT_EQ(1, reported.count);
    EXPECT_EQ(&widget, reported.sender);
    EXPECT_TRUE(reported.convert);
    EXPECT_EQ(QString("'abc' is not a valid floating point value"), reported.message);
}

TEST_F(LbApplicationTest, standardAndUnknownErrorsReachTheHandler)
{
    widget.fail = [] { throw std::out_of_range("index 7"); };
    pressKey(widget);
    EXPECT_EQ(QString("index 7"), reported.message);
    widget.fail = [] { throw 42; };
    pressKey(widget);
    EXPECT_EQ(2, reported.count);
    EXPECT_EQ(QString("Unknown exception"), reported.message);
}

TEST_F(LbApplicationTest, aFailingHandlerDoesNotEndTheProgram)
{
    LbApplication::setErrorHandler([](QObject*, const std::exception&) { throw std::runtime_error("log full"); });
    widget.fail = [] { throw lb::DatabaseError("x"); };
    pressKey(widget); // returns normally
    SUCCEED();
}

TEST(LbApplicationNoHandler, showsTheErrorTextInAnErrorBox)
{
    lb::ui::ScriptedDialogs dialogs;
    Failing widget;
    widget.fail = [] { throw lb::DatabaseError("Field 'x' not found"); };
    pressKey(widget);
    EXPECT_EQ(QStringList({"Field 'x' not found"}), dialogs.texts());
    EXPECT_EQ(lb::ui::DialogIcon::Error, dialogs.shown()[0].icon);
}

// The modal error box of a program with no handler would wait forever offscreen; in these tests
// it fails the test instead (UnexpectedBoxes.cpp).
TEST(LbApplicationNoHandler, anUnscriptedErrorBoxFailsTheTestAtOnce)
{
    EXPECT_NONFATAL_FAILURE(LbApplication::reportError(nullptr, lb::DatabaseError("Field 'x' not found")),
                            "Unscripted box: 错误 | Field 'x' not found");
}

} // namespace

// Qt's own dialogs speak Chinese once the system's Qt translations are installed.
TEST(LbApplicationTranslations, QtsOwnTextsBecomeChinese)
{
    ASSERT_EQ(QStringLiteral("Cancel"), QCoreApplication::translate("QPlatformTheme", "Cancel"));
    QTranslator* translator = LbApplication::installQtTranslations();
    ASSERT_NE(nullptr, translator) << "qt6-translations-l10n is not installed";
    EXPECT_EQ(QStringLiteral("取消"), QCoreApplication::translate("QPlatformTheme", "Cancel"));
    EXPECT_EQ(QStringLiteral("打开"), QCoreApplication::translate("QPlatformTheme", "Open"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
