// 关闭系统 ends the run whatever windows are open: each work window gets its way out first, a form
// before the list it was opened from, and none can keep the program running.
#include "summaries/SummaryFixture.h"

#include "core/TFrm_ErrorMessage.h"
#include "core/Tfrconfig.h"
#include "documents/DocumentListWindow.h"
#include "documents/DocumentWindows.h"
#include "report/ui/TRpStandardPreview.h"
#include "report/ui/TRpStandardPreviewInterface.h"
#include "summaries/KindSummaryWindow.h"

#include <QFileDialog>
#include <QPushButton>
#include <QToolButton>
#include <QTimer>

using lb::core::TFrm_ErrorMessage;
using lb::documents::DocumentEntryForm;
using lb::documents::DocumentListWindow;

namespace {

enum class Open { FormOverItsList, FormOverItsListAfterAFailedCommand, SettingsAfterAFailedSave, PreviewAfterAFailedSave };

std::string nameOf(Open open)
{
    static const char* const names[] = {"FormOverItsList", "FormOverItsListAfterAFailedCommand", "SettingsAfterAFailedSave",
                                        "PreviewAfterAFailedSave"};
    return names[int(open)];
}

class ProgramEndTest : public SummaryFixture, public ::testing::WithParamInterface<Open> {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        dialogs.takeActivation(false); // no stand-in boxes left over at the end to tell from windows
        lb::documents::registerDocumentWindows();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 10.0}});
        sale = makeOpenSale(QStringLiteral("C1"), QStringLiteral("2026-03-05"), {{flour, "面粉", 2, 5}});
        errorForm = std::make_unique<TFrm_ErrorMessage>();
        Frm_ErrorMessage = errorForm.get();
        // As the program start connects it.
        QObject::connect(main.get(), &lb::core::Tfrmain::programEnding, qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }

    void TearDown() override
    {
        errorForm.reset();
        SummaryFixture::TearDown();
    }

    // The main window's menu item `text`, as the user chooses it.
    void choose(const QString& text)
    {
        for (QAction* item : main->findChildren<QAction*>()) {
            if (item->text() == text && item->isEnabled()) {
                item->trigger();
                break;
            }
        }
        flush();
    }

    // The error form, when it shows, is left by 关闭系统, the books writable again by then.
    void closeSystemFromTheErrorForm()
    {
        modals.then([this](QDialog& form) {
            books.mend();
            static_cast<TFrm_ErrorMessage&>(form).closeSystemButton->click();
        });
    }

    // The sales list, the sale opened from it with its quantity typed over with 7, the cell open.
    DocumentEntryForm* saleTypedOverItsList()
    {
        choose(QStringLiteral("销售单"));
        auto* list = top<DocumentListWindow>(QStringLiteral("Tfroutlist"));
        EXPECT_NE(nullptr, list);
        main->CurrentBillNo = sale;
        list->detailClick();
        flush();
        auto* form = top<DocumentEntryForm>(QStringLiteral("Tfroutdetail"));
        EXPECT_NE(nullptr, form);
        const int quantity = form->config().firstEntryColumn;
        form->DBGrid1->setFocus();
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(form->DBGrid1->model()->rowCount() - 1, quantity));
        typeText(form->DBGrid1, QStringLiteral("7"));
        return form;
    }

    // What the scenario of the test opens, and how it comes to 关闭系统.
    void openAndCloseSystem()
    {
        switch (GetParam()) {
        case Open::FormOverItsList:
            saleTypedOverItsList();
            Frm_ErrorMessage->CloseSystemClick();
            break;
        case Open::FormOverItsListAfterAFailedCommand: {
            DocumentEntryForm* form = saleTypedOverItsList();
            closeSystemFromTheErrorForm();
            books.failWritesTo(QStringLiteral("outlist"));
            form->action(QStringLiteral("ToolButton3"))->trigger(); // 刷新
            break;
        }
        case Open::SettingsAfterAFailedSave: {
            choose(QStringLiteral("系统设置"));
            lb::core::Tfrconfig* settings = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* shown = qobject_cast<lb::core::Tfrconfig*>(window); shown && shown->isVisible())
                    settings = shown;
            ASSERT_NE(nullptr, settings);
            closeSystemFromTheErrorForm();
            books.failWritesTo(QStringLiteral("config"));
            settings->Button1Click(); // 确定, through the error guard as its button runs it
            break;
        }
        case Open::PreviewAfterAFailedSave: {
            auto* summary = open<lb::summaries::KindSummaryWindow>("Tfrouttotal");
            ASSERT_NE(nullptr, summary);
            // Once the preview shows, its pages are saved where no file can be made.
            QTimer::singleShot(0, qApp, [this] {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (auto* preview = qobject_cast<lb::report::ui::TRpStandardPreview*>(window); preview && preview->isVisible()) {
                        modals.then([](QDialog& dialog) {
                            auto& files = dynamic_cast<QFileDialog&>(dialog);
                            files.selectFile(QStringLiteral("/nonexistent-folder/summary.RPF"));
                            files.QDialog::done(QDialog::Accepted);
                        });
                        closeSystemFromTheErrorForm();
                        preview->SaveReport->click();
                    }
                }
            });
            summary->report->click(); // the preview stays until it is closed
            break;
        }
        }
    }

    // Stands for the books not writable for a moment.
    struct Books {
        ProgramEndTest& test;
        QString broken = QString();
        void failWritesTo(const QString& table)
        {
            test.failWritesTo(table);
            broken = table;
        }
        void mend()
        {
            if (!broken.isEmpty())
                test.mendWritesTo(broken);
            broken.clear();
        }
    } books{*this};

    std::unique_ptr<TFrm_ErrorMessage> errorForm;
    QString flour;
    QString sale;
};

} // namespace

TEST_P(ProgramEndTest, CloseSystemEndsTheRunWithNoWindowLeft)
{
    lb::report::ui::TRpStandardPreviewInterface previews;
    lb::report::TRpPreviewInterface::Install(&previews);
    bool ran = false;
    QTimer::singleShot(0, qApp, [&] {
        ran = true;
        lb::ui::LbApplication::guarded(main.get(), [this] {
            openAndCloseSystem();
            return true;
        });
    });
    // A run that does not end fails here instead of hanging the suite.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, qApp, [] {
        ADD_FAILURE() << "the run did not end";
        QCoreApplication::exit(1);
    });
    watchdog.start(20000);
    EXPECT_EQ(0, QCoreApplication::exec());
    lb::report::TRpPreviewInterface::Install(nullptr);
    ASSERT_TRUE(ran);
    EXPECT_TRUE(main->terminated());
    flush();
    QStringList left;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window != main.get())
            left << window->metaObject()->className() + QStringLiteral(" ") + window->windowTitle();
    EXPECT_EQ(QStringList(), left);
    EXPECT_EQ(GetParam() == Open::FormOverItsList ? 0 : 1, modals.titles().count(QStringLiteral("异常信息"))); // shown once
    if (GetParam() == Open::FormOverItsList || GetParam() == Open::FormOverItsListAfterAFailedCommand) {
        // The form's way out stored what was typed.
        EXPECT_EQ(7.0, scalar(QStringLiteral("select sl from outdetail where mainintno=:p1 and spintno=:p2"), {sale, flour}).toDouble());
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ProgramEndTest,
                         ::testing::Values(Open::FormOverItsList, Open::FormOverItsListAfterAFailedCommand, Open::SettingsAfterAFailedSave,
                                           Open::PreviewAfterAFailedSave),
                         [](const auto& info) { return nameOf(info.param); });
