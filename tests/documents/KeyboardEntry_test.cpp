// A document from the keyboard alone: the list's buttons reached with Tab, an account picked
// with Enter, Tab out of a cell being edited, and an empty code box that finds nothing.
#include "documents/DocumentListWindow.h"
#include "documents/KindDocumentsFixture.h"
#include "masterdata/MasterListWindow.h"

#include <QToolButton>

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::masterdata::MasterListWindow;

namespace {

class KeyboardEntryTest : public KindDocumentsFixture {
protected:
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
        QApplication::sendEvent(QApplication::focusWidget(), &event);
        flush();
    }

    // The focused widget: a tool button by its caption, anything else by its name.
    static QString focused()
    {
        const QWidget* widget = QApplication::focusWidget();
        if (const auto* button = qobject_cast<const QToolButton*>(widget))
            return button->text();
        return widget ? widget->objectName() : QString();
    }
};

} // namespace

// A list opens on its grid; Tab goes from it, at once, to every button and the search row in the
// order the window shows them; Enter on a focused button presses it.
TEST_F(KeyboardEntryTest, AListIsWorkedFromTheKeyboard)
{
    for (QAction* action : main->findChildren<QAction*>())
        if (action->text() == QStringLiteral("销售单") && action->isEnabled())
            action->trigger();
    flush();
    auto* list = top<lb::documents::DocumentListWindow>(QStringLiteral("Tfroutlist"));
    ASSERT_NE(nullptr, list);
    QApplication::setActiveWindow(list);
    EXPECT_EQ(QStringLiteral("DBGrid1"), focused()); // the arrows choose a row at once
    QStringList walked;
    for (int i = 0; i < 7; ++i) {
        press(Qt::Key_Tab);
        walked << focused();
    }
    EXPECT_EQ((QStringList{QStringLiteral("查找单据"), QStringLiteral("新开单"), QStringLiteral("明细单"), QStringLiteral("返回"),
                           QStringLiteral("ComboBox1"), QStringLiteral("Edit12"), QStringLiteral("DBGrid1")}),
              walked);
    while (focused() != QStringLiteral("新开单") && walked.size() < 20) {
        press(Qt::Key_Tab, Qt::ShiftModifier);
        walked << focused();
    }
    ASSERT_EQ(QStringLiteral("新开单"), focused()) << walked.join(QLatin1Char(' ')).toStdString();
    press(Qt::Key_Return);
    EXPECT_NE(nullptr, qobject_cast<DocumentEntryForm*>(QApplication::activeWindow()));
}

// Enter on a column that cannot be typed into opens the line's picker as a double-click does:
// the account of a receipt's or a payment's line is chosen from the keyboard.
TEST_F(KeyboardEntryTest, EnterOnTheAccountColumnPicksTheLinesAccount)
{
    for (const auto& config : {DocumentCatalog::receiptEntryForm(), DocumentCatalog::paymentEntryForm()}) {
        QPointer<DocumentEntryForm> form = openEntryForm(config);
        form->DBGrid1->setFocus();
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, 2));
        pressEnter(form->DBGrid1); // the carry-over line takes no account
        EXPECT_EQ(QStringLiteral("明细表中的第一行为上期结转行,不能删除或修改"), dialogs.lastText());
        EXPECT_EQ(nullptr, MasterListWindow::instance(QStringLiteral("TFrbank")));

        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, 2));
        pressEnter(form->DBGrid1);
        MasterListWindow* picker = MasterListWindow::instance(QStringLiteral("TFrbank"));
        ASSERT_NE(nullptr, picker) << config.key.toStdString();
        QApplication::setActiveWindow(picker);
        picker->grid()->setFocus();
        picker->grid()->setCurrentIndex(picker->grid()->model()->index(1, 0)); // 工商银行
        press(Qt::Key_Return);
        EXPECT_EQ(nullptr, MasterListWindow::instance(QStringLiteral("TFrbank")));
        EXPECT_EQ(QStringLiteral("0000000002|工商银行"),
                  row(QStringLiteral("select sphh, spmc from %1 where mainintno=:p1 and spmc<>'上期结转'").arg(form->kind().lineTable),
                      {form->documentNo()}));
        form->ToolButton7Click();
        flush();
    }
}

// Tab out of a quantity being typed stores it and goes on to the price, the focus kept in the
// grid although leaving the quantity recalculates the document.
TEST_F(KeyboardEntryTest, TabOutOfACellBeingEditedStaysInTheGrid)
{
    QPointer<DocumentEntryForm> form = openSalesForm();
    form->box(QStringLiteral("Edit2"))->setText(QStringLiteral("C1"));
    enterCode(*form, QStringLiteral("A01"));
    ASSERT_TRUE(form->DBGrid1->hasFocus());
    typeText(form->DBGrid1, QStringLiteral("3"));
    press(Qt::Key_Tab);
    EXPECT_TRUE(form->DBGrid1->isAncestorOf(QApplication::focusWidget()) || form->DBGrid1->hasFocus());
    EXPECT_EQ(5, form->DBGrid1->currentIndex().column());
    EXPECT_EQ(QStringLiteral("3"), row(QStringLiteral("select sl from outdetail where sphh='A01'")));
}

// Enter in the empty code box finds no product, also where products have no barcode, and fills
// no line.
TEST_F(KeyboardEntryTest, AnEmptyCodeBoxFindsNoProduct)
{
    exec(QStringLiteral("update product set barcode=''"), {});
    main->EntryByProductCode = true; // the purchase looks codes up only then
    for (const auto& config : {DocumentCatalog::salesEntryForm(), DocumentCatalog::purchaseEntryForm()}) {
        QPointer<DocumentEntryForm> form = openEntryForm(config);
        form->box(QStringLiteral("Edit2"))->setText(partyOf(form->kind().kind));
        enterCode(*form, QString());
        EXPECT_EQ(QStringLiteral("查无该货品代码或条形码！"), dialogs.lastText()) << config.key.toStdString();
        EXPECT_EQ(QStringLiteral("0"), row(QStringLiteral("select count(*) from %1 where spmc<>'上期结转' and spmc<>''").arg(form->kind().lineTable)));
        form->ToolButton7Click();
        flush();
    }
}
