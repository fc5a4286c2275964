// Message, input and password boxes: the scripted responder, and the real boxes offscreen.
#include "platform/ui/Dialogs.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

using lb::ui::DialogAnswer;
using lb::ui::DialogButtons;
using lb::ui::DialogIcon;
using lb::ui::DialogRequest;
using lb::ui::Dialogs;
using lb::ui::ScriptedDialogs;

namespace {

TEST(ScriptedDialogs, recordsCaptionsAndTextsOfPlainBoxes)
{
    ScriptedDialogs dialogs;
    Dialogs::message("该用户无权使用此功能！");
    Dialogs::warning("输入操作员密码错误！");
    Dialogs::error("压缩数据库失败", "提示");
    Dialogs::information("数据备份完毕！ ");
    EXPECT_EQ(QStringList({"朔栎软件|该用户无权使用此功能！", "警告|输入操作员密码错误！", "提示|压缩数据库失败",
                           "提示|数据备份完毕！ "}),
              dialogs.captionsAndTexts());
    EXPECT_EQ(DialogIcon::None, dialogs.shown()[0].icon);
    EXPECT_EQ(DialogIcon::Warning, dialogs.shown()[1].icon);
    EXPECT_EQ(DialogIcon::Error, dialogs.shown()[2].icon);
    EXPECT_EQ(0, dialogs.unanswered());
}

TEST(ScriptedDialogs, applicationTitleIsSettable)
{
    ScriptedDialogs dialogs;
    Dialogs::setApplicationTitle("试用");
    Dialogs::message("x");
    Dialogs::setApplicationTitle("朔栎软件");
    Dialogs::message("y");
    EXPECT_EQ(QStringList({"试用|x", "朔栎软件|y"}), dialogs.captionsAndTexts());
}

TEST(ScriptedDialogs, questionsTakeTheScriptedAnswersInOrder)
{
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Cancel).answer(DialogAnswer::Yes).answer(DialogAnswer::No);
    EXPECT_TRUE(Dialogs::confirm("单据确实要过帐吗?"));
    EXPECT_FALSE(Dialogs::confirm("确实要删除当前记录吗?"));
    EXPECT_TRUE(Dialogs::yesNo("若系统正常,则选择[是],否则选择[否]", "是否备份数据?"));
    EXPECT_FALSE(Dialogs::yesNo("again", "是否备份数据?"));
    EXPECT_EQ(QString("提示！|确实要删除当前记录吗?"), dialogs.captionsAndTexts()[1]);
    EXPECT_EQ(DialogButtons::YesNo, dialogs.shown()[2].buttons);
    EXPECT_EQ(0, dialogs.unanswered());
    EXPECT_EQ(0, dialogs.pending());
}

TEST(ScriptedDialogs, anUnexpectedOrMismatchedQuestionGetsTheNegativeAnswerAndIsCounted)
{
    ScriptedDialogs dialogs;
    EXPECT_FALSE(Dialogs::confirm("no answer queued"));
    dialogs.answer(DialogAnswer::Yes);
    EXPECT_FALSE(Dialogs::confirm("a Yes does not fit OK/Cancel"));
    dialogs.type("123");
    EXPECT_FALSE(Dialogs::yesNo("a text does not fit a question", "c"));
    EXPECT_EQ(3, dialogs.unanswered());
    EXPECT_EQ(1, dialogs.pending()); // the mismatched text stays for the next input box
    EXPECT_EQ(QString("123"), Dialogs::inputBox("提示信息", "请输入操作号:", ""));
}

TEST(ScriptedDialogs, inputAndPasswordBoxesReturnTheDefaultOnCancel)
{
    ScriptedDialogs dialogs;
    dialogs.type(" 123456 ").cancelInput().type("999");
    bool ok = false;
    EXPECT_EQ(QString(" 123456 "), Dialogs::passwordBox("提示信息", "请输入操作密码:          ", "", &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(QString("keep"), Dialogs::inputBox("提示信息", "请输入操作号:", "keep", &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(QString("999"), Dialogs::inputBox("提示信息", "请输入操作号:", ""));
    EXPECT_EQ(DialogRequest::Kind::Password, dialogs.shown()[0].kind);
    EXPECT_EQ(DialogRequest::Kind::Input, dialogs.shown()[1].kind);
    EXPECT_EQ(QString("keep"), dialogs.shown()[1].defaultText);
    // An input box with nothing scripted is cancelled and counted.
    EXPECT_EQ(QString("d"), Dialogs::passwordBox("c", "p", "d", &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(1, dialogs.unanswered());
}

TEST(ScriptedDialogs, nestedScriptsRestoreTheOuterOne)
{
    ScriptedDialogs outer;
    {
        ScriptedDialogs inner;
        Dialogs::message("inner");
        EXPECT_EQ(QStringList({"inner"}), inner.texts());
    }
    Dialogs::message("outer");
    EXPECT_EQ(QStringList({"outer"}), outer.texts());
}

// Runs `act` on the first modal window once it is up, while the box's own loop runs.
void whenModalShows(std::function<void(QWidget&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(*modal);
        }
    });
    timer->start();
}

QPushButton* buttonWithText(QWidget& window, const QString& text)
{
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// The real windows of the program, in place of the guard against unscripted boxes.
class RealDialogs : public ::testing::Test {
protected:
    void SetUp() override { previous = Dialogs::setResponder(nullptr); }
    void TearDown() override { Dialogs::setResponder(previous); }
    lb::ui::DialogResponder* previous = nullptr;
};

// The texts of every push button of a window, in their order.
QStringList buttonTexts(QWidget& window)
{
    QStringList texts;
    for (QPushButton* button : window.findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

TEST_F(RealDialogs, boxesShowOnlyChineseButtons)
{
    QStringList seen;
    whenModalShows([&](QWidget& box) {
        seen << box.windowTitle() << buttonTexts(box);
        buttonWithText(box, "否")->click();
    });
    EXPECT_FALSE(Dialogs::yesNo("若系统正常,则选择[是],否则选择[否]", "是否备份数据?"));
    EXPECT_EQ(QStringList({"是否备份数据?", "是", "否"}), seen);

    seen.clear();
    whenModalShows([&](QWidget& box) {
        seen << box.windowTitle() << buttonTexts(box);
        buttonWithText(box, "取消")->click();
    });
    EXPECT_FALSE(Dialogs::confirm("确实要删除当前记录吗?"));
    EXPECT_EQ(QStringList({"提示！", "确定", "取消"}), seen);
    whenModalShows([&](QWidget& box) { buttonWithText(box, "确定")->click(); });
    EXPECT_TRUE(Dialogs::confirm("确实要删除当前记录吗?"));

    seen.clear();
    whenModalShows([&](QWidget& box) {
        seen << box.windowTitle() << buttonTexts(box);
        buttonWithText(box, "确定")->click();
    });
    Dialogs::message("数据备份完毕！ ");
    EXPECT_EQ(QStringList({"朔栎软件", "确定"}), seen);
}

// A short text keeps the whole caption in view, and carriage returns break the text's lines.
TEST_F(RealDialogs, aBoxShowsItsWholeCaptionAndBreaksLinesAtCarriageReturns)
{
    int width = 0;
    int needed = 0;
    QString shown;
    whenModalShows([&](QWidget& box) {
        width = box.width();
        needed = box.fontMetrics().horizontalAdvance("一个相当长的标题文字在这里") + Dialogs::captionAllowance;
        shown = static_cast<QMessageBox&>(box).text();
        buttonWithText(box, "确定")->click();
    });
    Dialogs::message("好!\r\r下一行", "一个相当长的标题文字在这里");
    EXPECT_GE(width, needed);
    EXPECT_EQ(QStringLiteral("好!\n\n下一行"), shown);
}

TEST_F(RealDialogs, ABoxAskedBeforeTheActivationComesBackBelongsToThePreviousBoxsWindow)
{
    QWidget window;
    window.setWindowFlag(Qt::WindowStaysOnTopHint);
    window.show();
    QApplication::setActiveWindow(&window);
    QWidget* firstOwner = nullptr;
    whenModalShows([&](QWidget& box) {
        firstOwner = box.parentWidget();
        buttonWithText(box, "确定")->click();
    });
    Dialogs::message("你选择的数据备份位置是:");
    // The window system has not handed the activation back yet when the next box comes.
    QApplication::setActiveWindow(nullptr);
    QWidget* secondOwner = nullptr;
    bool onTop = false;
    whenModalShows([&](QWidget& box) {
        secondOwner = box.parentWidget();
        onTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        buttonWithText(box, "确定")->click();
    });
    Dialogs::message("数据备份完毕！ ");
    EXPECT_EQ(&window, firstOwner);
    EXPECT_EQ(&window, secondOwner);
    EXPECT_TRUE(onTop);
}

TEST_F(RealDialogs, EnterAnswersNoWhereNoIsTheDefault)
{
    QString defaultText;
    whenModalShows([&](QWidget& box) {
        defaultText = static_cast<QMessageBox&>(box).defaultButton()->text();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&box, &enter);
    });
    EXPECT_FALSE(Dialogs::yesNo("覆盖吗?", "提示！", true));
    EXPECT_EQ(QStringLiteral("否"), defaultText);
    whenModalShows([&](QWidget& box) {
        defaultText = static_cast<QMessageBox&>(box).defaultButton()->text();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&box, &enter);
    });
    EXPECT_TRUE(Dialogs::yesNo("备份吗?", "提示！"));
    EXPECT_EQ(QStringLiteral("是"), defaultText);
}

TEST_F(RealDialogs, passwordBoxMasksAndReturnsTheTypedText)
{
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    whenModalShows([&](QWidget& box) {
        QLineEdit* edit = box.findChild<QLineEdit*>();
        echo = edit->echoMode();
        edit->setText("123456");
        buttonWithText(box, "确定")->click();
    });
    bool ok = false;
    EXPECT_EQ(QString("123456"), Dialogs::passwordBox("提示信息", "请输入操作密码:", "", &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(QLineEdit::Password, echo);

    whenModalShows([&](QWidget& box) {
        box.findChild<QLineEdit*>()->setText("typed");
        buttonWithText(box, "取消")->click();
    });
    EXPECT_EQ(QString(""), Dialogs::inputBox("提示信息", "请输入操作号:", "", &ok));
    EXPECT_FALSE(ok);
}

} // namespace

// A box raised while a window that stays on top is active opens above it, on top as well.
TEST_F(RealDialogs, BoxOfAWindowThatStaysOnTopStaysOnTopAboveIt)
{
    QWidget editor;
    editor.setWindowFlag(Qt::WindowStaysOnTopHint);
    editor.show();
    editor.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(&editor, QApplication::activeWindow());
    bool onTop = false;
    QWindow* owner = nullptr;
    whenModalShows([&](QWidget& box) {
        onTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        owner = box.windowHandle()->transientParent();
        buttonWithText(box, QStringLiteral("确定"))->click();
    });
    Dialogs::message(QStringLiteral("数据保存完毕！ "));
    EXPECT_TRUE(onTop);
    EXPECT_EQ(editor.windowHandle(), owner);
}
