// Typing over a box the focus is put in, however it comes, but where a click put the cursor,
// and on where the typing was when the focus comes back with its window.
#include "platform/ui/FocusChain.h"
#include "support/Typing.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

void press(QWidget* widget, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A click at the left end of `box`, the focus given as the window system gives it.
void clickAtStart(QLineEdit* box)
{
    box->setFocus(Qt::MouseFocusReason);
    const QPointF at(2, box->height() / 2);
    QMouseEvent event(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &event);
}

} // namespace

TEST(FocusSelection, TypingReplacesTheTextOfABoxTheFocusIsPutInButNotWhereAClickPutsIt)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* code = new QLineEdit(QStringLiteral("1"), &window);
    auto* name = new QLineEdit(QStringLiteral("张三"), &window);
    auto* date = new QLineEdit(&window); // masked as the summaries' period boxes
    date->setInputMask(QStringLiteral("9999-99-99; "));
    date->setText(QStringLiteral("2026-12-01"));
    for (QWidget* box : {code, name, date})
        layout->addWidget(box);
    (new lb::ui::FocusChain(&window))->link(name, code);
    code->setFocus(); // before the window shows, as a form's first showing does
    window.show();
    QApplication::setActiveWindow(&window);

    typeText(code, QStringLiteral("C1"));
    EXPECT_EQ(QStringLiteral("C1"), code->text());
    press(code, Qt::Key_Tab);
    typeText(name, QStringLiteral("李四"));
    EXPECT_EQ(QStringLiteral("李四"), name->text());
    press(name, Qt::Key_Return);
    typeText(code, QStringLiteral("C2"));
    EXPECT_EQ(QStringLiteral("C2"), code->text());
    date->setFocus(); // as a command puts it there
    typeText(date, QStringLiteral("20250115"));
    EXPECT_EQ(QStringLiteral("2025-01-15"), date->text());

    clickAtStart(name);
    typeText(name, QStringLiteral("王"));
    EXPECT_EQ(QStringLiteral("王李四"), name->text());
    // Another window, then this one again: the typing goes on where it was.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(name->hasFocus());
    typeText(name, QStringLiteral("五"));
    EXPECT_EQ(QStringLiteral("王五李四"), name->text());
}

// Tab into a masked box selects its whole text with the cursor at the first position, where
// Qt's own Tab would put the cursor at the first blank and select nothing: typing replaces the
// date from its start.
TEST(FocusSelection, TabIntoAMaskedBoxSelectsItAllFromItsStart)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* code = new QLineEdit(&window);
    auto* date = new QLineEdit(&window);
    date->setInputMask(QStringLiteral("9999-99-99; "));
    date->setText(QStringLiteral("2026-12-01"));
    layout->addWidget(code);
    layout->addWidget(date);
    window.show();
    QApplication::setActiveWindow(&window);
    code->setFocus();

    press(code, Qt::Key_Tab);
    ASSERT_TRUE(date->hasFocus());
    EXPECT_EQ(QStringLiteral("2026-12-01"), date->selectedText());
    EXPECT_EQ(0, date->selectionStart());
    EXPECT_EQ(0, date->cursorPosition());
    typeText(date, QStringLiteral("20250115"));
    EXPECT_EQ(QStringLiteral("2025-01-15"), date->text());
}

// A text longer than its box, selected as the focus is put in it, shows its start: the box
// shows where typing will replace it, not the end of what it replaces.
TEST(FocusSelection, ALongTextSelectedShowsItsStart)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* name = new QLineEdit(&window);
    name->setFixedWidth(60);
    name->setText(QStringLiteral("上海市浦东新区张江高科技园区碧波路690号"));
    layout->addWidget(other);
    layout->addWidget(name);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    // A box works out how far its text is scrolled as it paints itself; shown before it has the
    // focus, it shows the end of its text, where setText left the cursor.
    name->grab();
    const QPoint firstShown = name->contentsRect().topLeft() + QPoint(4, name->height() / 2);
    ASSERT_LT(0, name->cursorPositionAt(firstShown));

    for (const Qt::FocusReason reason : {Qt::OtherFocusReason, Qt::TabFocusReason}) {
        other->setFocus();
        name->setFocus(reason);
        EXPECT_EQ(name->text(), name->selectedText()) << reason;
        name->grab();
        EXPECT_EQ(0, name->cursorPositionAt(firstShown)) << reason;
    }
}
