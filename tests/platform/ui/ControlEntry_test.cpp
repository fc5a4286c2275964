// Entering and leaving a control as its window's focus control changes, whatever the activation does meanwhile.
#include "platform/ui/ControlEntry.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <functional>

namespace {

struct Move {
    const char* what;
    // Acts on `window`, whose box `code` has the focus, its box `name`, and `picker`, a window
    // of its own; `entry` watches the window.
    std::function<void(QWidget& window, QLineEdit& name, QWidget& picker, lb::ui::ControlEntry& entry)> act;
    QStringList seen; // what the handlers noted
};

void PrintTo(const Move& move, std::ostream* out) { *out << move.what; }

void flush() { QApplication::processEvents(); }

class ControlEntryTest : public ::testing::TestWithParam<Move> {};

} // namespace

TEST_P(ControlEntryTest, AControlIsEnteredAndLeftOnlyAsTheWindowsFocusControlChanges)
{
    QWidget window;
    auto* code = new QLineEdit(&window);
    auto* name = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(code);
    layout->addWidget(name);
    QWidget other;
    (new QVBoxLayout(&other))->addWidget(new QLineEdit(&other));
    window.show();
    QApplication::setActiveWindow(&window);
    code->setFocus();
    flush();
    QStringList seen;
    auto* entry = new lb::ui::ControlEntry(&window);
    for (QLineEdit* box : {code, name}) {
        entry->onEnter(box, [&seen, box, code] { seen << (box == code ? "enter code" : "enter name"); });
        entry->onExit(box, [&seen, box, code] { seen << (box == code ? "leave code" : "leave name"); });
    }
    GetParam().act(window, *name, other, *entry);
    flush();
    EXPECT_EQ(GetParam().seen, seen);
    EXPECT_EQ(&window, QApplication::activeWindow());
}

INSTANTIATE_TEST_SUITE_P(
    Moves, ControlEntryTest,
    ::testing::Values(
        Move{"Tab", [](QWidget&, QLineEdit& name, QWidget&, auto&) { name.setFocus(Qt::TabFocusReason); }, {"leave code", "enter name"}},
        Move{"ABoxTakingTheActivation",
             [](QWidget&, QLineEdit&, QWidget&, auto&) {
                 lb::ui::ScriptedDialogs dialogs;
                 dialogs.takeActivation(true);
                 lb::ui::Dialogs::message(QStringLiteral("查无此客户号！"));
             },
             {}},
        Move{"FocusPutElsewhereWhileABoxHoldsTheActivation",
             [](QWidget&, QLineEdit& name, QWidget&, auto&) {
                 lb::ui::ScriptedDialogs dialogs;
                 dialogs.takeActivation(true);
                 lb::ui::Dialogs::message(QStringLiteral("没有商品名,不能过帐！"));
                 name.setFocus();
                 EXPECT_NE(name.window(), QApplication::activeWindow()); // the window manager gives it back later
             },
             {"leave code", "enter name"}},
        // The cursor put back after a refusal: the control it goes to is entered, the one the
        // clerk was in is not left by it.
        Move{"TheProgramsMoveWhileABoxHoldsTheActivation",
             [](QWidget&, QLineEdit& name, QWidget&, lb::ui::ControlEntry& entry) {
                 lb::ui::ScriptedDialogs dialogs;
                 dialogs.takeActivation(true);
                 lb::ui::Dialogs::message(QStringLiteral("查无此供应商号！"));
                 entry.moveFocus(&name);
             },
             {"enter name"}},
        Move{"APickerOpenedAndClosed",
             [](QWidget& window, QLineEdit&, QWidget& picker, auto&) {
                 picker.show();
                 flush();
                 QApplication::setActiveWindow(&picker);
                 picker.findChild<QLineEdit*>()->setFocus();
                 picker.hide();
                 flush();
                 QApplication::setActiveWindow(&window);
             },
             {}}),
    [](const auto& info) { return std::string(info.param.what); });

// Handlers run as they stood when the control was left: one a handler adds runs from the next
// leaving on, and one that closes the window leaves the others of its round to run.
TEST(ControlEntry, AHandlerMayAddHandlersOrCloseItsWindow)
{
    QPointer<QWidget> window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* code = new QLineEdit(window);
    auto* name = new QLineEdit(window);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(code);
    layout->addWidget(name);
    window->show();
    QApplication::setActiveWindow(window);
    code->setFocus();
    flush();
    QStringList seen;
    auto* entry = new lb::ui::ControlEntry(window);
    entry->onExit(code, [&] {
        seen << "leave code";
        entry->onExit(code, [&seen] { seen << "added"; });
    });
    entry->onExit(code, [&seen] { seen << "second"; });
    entry->onEnter(name, [&] {
        seen << "enter name";
        if (seen.contains("added"))
            window->close();
    });
    entry->onEnter(name, [&seen] { seen << "then"; });
    name->setFocus();
    flush();
    EXPECT_EQ(QStringList({"leave code", "second", "enter name", "then"}), seen);
    seen.clear();
    code->setFocus();
    flush();
    name->setFocus();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    flush();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(QStringList({"leave code", "second", "added", "enter name", "then"}), seen);
}
