// Enter presses the focused push or tool button and Esc the shown 取消 the window named; the
// Enter chains, a cell editor's Esc and the pages without 取消 keep their keys.
#include "core/TFrpassword.h"
#include "core/Tfrconfig.h"
#include "documents/DocumentWindowFixture.h"
#include "masterdata/MasterListWindow.h"

#include <QPushButton>
#include <QToolButton>

namespace {

class ButtonKeysTest : public DocumentWindowFixture {
protected:
    static void press(QWidget* widget, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
        flush();
    }

    // The options window, its money decimals typed over with 5.
    QPointer<lb::core::Tfrconfig> openOptions()
    {
        QPointer<lb::core::Tfrconfig> options = new lb::core::Tfrconfig(main.get());
        options->showWork();
        QApplication::setActiveWindow(options);
        options->moneyDecimals->setFocus();
        typeText(options->moneyDecimals, QStringLiteral("5"));
        return options;
    }

    QString moneyFormat() { return row(QStringLiteral("select amountformat from config")); }
};

} // namespace

TEST_F(ButtonKeysTest, EnterAndEscPressTheFocusedButtonAndTheShownCancel)
{
    const QString stored = moneyFormat();
    QPointer<lb::core::Tfrconfig> options = openOptions();
    options->PageControl1->setCurrentIndex(1); // a page without 取消
    press(options->packagePage.name, Qt::Key_Escape);
    ASSERT_TRUE(options);
    options->PageControl1->setCurrentIndex(0);
    press(options->moneyDecimals, Qt::Key_Escape);
    EXPECT_FALSE(options);
    EXPECT_EQ(stored, moneyFormat());
    options = openOptions();
    press(options->moneyDecimals, Qt::Key_Return);
    EXPECT_TRUE(options->qtyDigits->hasFocus()); // the Enter chain
    for (QPushButton* button : options->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("确定") && button->isVisible())
            button->setFocus();
    press(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(options);
    EXPECT_EQ(QStringLiteral("0.00000"), moneyFormat());

    // The log-in dialog keeps its Esc (its 取消 would end the program); Enter on its focused
    // 确定 comes before the dialog's own Enter, which presses only a default button.
    lb::core::TFrpassword login(main.get());
    login.show();
    QApplication::setActiveWindow(&login);
    press(login.Edit1, Qt::Key_Escape);
    EXPECT_TRUE(login.isVisible());
    login.Bok->setFocus();
    press(login.Bok, Qt::Key_Return);
    EXPECT_FALSE(login.isVisible());

    // An entry form's cell editor cancels the cell; the keypad's Enter on "…" opens the picker.
    QPointer<lb::documents::DocumentEntryForm> form = openSalesForm();
    form->DBGrid1->setFocus();
    flush(); // the party box, left, says its party is unknown: the window is active again after the box
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, 4));
    const QString quantity = cell(*form, 1, 4);
    typeText(form->DBGrid1, QStringLiteral("7"));
    press(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(quantity, cell(*form, 1, 4));
    form->SpeedButton1->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(form->SpeedButton1, &enter);
    EXPECT_NE(nullptr, lb::masterdata::MasterListWindow::instance(QStringLiteral("TFrcustomer")));
}
