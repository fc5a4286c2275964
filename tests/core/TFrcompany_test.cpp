// Tests of the company memo window: it shows the company text and gives the main window back.
#include "CoreFixture.h"

#include "core/TFrcompany.h"

#include <QPlainTextEdit>

using lb::core::TFrcompany;

class TFrcompanyTest : public CoreFixture {};

TEST_F(TFrcompanyTest, ShowsTheCompanyTextAndPostsTheRowOnClose)
{
    exec(QStringLiteral("update company set doc=:p1"), {QStringLiteral("批发零售，诚信经营")});
    dm().ATcompany->open();
    QWidget owner;
    owner.show();
    QPointer<TFrcompany> window = new TFrcompany(&owner);
    window->showWork();
    EXPECT_EQ(QStringLiteral("产品推荐"), window->windowTitle());
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(window->Memo1->isReadOnly());
    EXPECT_EQ(QStringLiteral("批发零售，诚信经营"), window->Memo1->toPlainText());
    EXPECT_EQ(lb::db::DataSetState::Edit, dm().ATcompany->state());

    window->close();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().ATcompany->state());
    EXPECT_TRUE(dm().ATcompany->active()); // the row stays open for the whole run
}
