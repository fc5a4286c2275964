// Test entry point: every test program gets the program's application object on the offscreen
// platform, and a box nobody scripted fails the test at once instead of waiting for a click.
#include "platform/ui/Dialogs.h"
#include "platform/ui/LbApplication.h"

#include <gtest/gtest.h>

namespace {

// Stands in for the real windows during every test of this program. A box that reaches it
// (an error report with no handler installed, a question without ScriptedDialogs) is a test
// failure naming the box, and gets the negative answer so that the test runs to its end.
class UnexpectedBoxes : public lb::ui::DialogResponder, public ::testing::EmptyTestEventListener {
public:
    lb::ui::DialogAnswer ask(const lb::ui::DialogRequest& request) override
    {
        ADD_FAILURE() << "Unscripted box: " << request.caption.toStdString() << " | " << request.text.toStdString();
        return request.buttons == lb::ui::DialogButtons::YesNo ? lb::ui::DialogAnswer::No : lb::ui::DialogAnswer::Cancel;
    }

    std::optional<QString> askText(const lb::ui::DialogRequest& request) override
    {
        ADD_FAILURE() << "Unscripted input box: " << request.caption.toStdString() << " | " << request.text.toStdString();
        return std::nullopt;
    }

    void OnTestStart(const ::testing::TestInfo&) override { previous_ = lb::ui::Dialogs::setResponder(this); }
    void OnTestEnd(const ::testing::TestInfo&) override { lb::ui::Dialogs::setResponder(previous_); }

private:
    lb::ui::DialogResponder* previous_ = nullptr;
};


} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    lb::ui::LbApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // gtest owns the listener from here on.
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnexpectedBoxes);
    return RUN_ALL_TESTS();
}
