// Fixture of the window tests that run one scenario over the kinds: a customer, a supplier, an
// account and a product, documents of any kind with one line, and the windows shown.
#pragma once

#include "core/WindowRegistry.h"
#include "documents/DocumentWindowFixture.h"
#include "documents/DocumentWindows.h"
#include "documents/PostedDocumentView.h"

// The entry forms whose configuration `keep` takes, for one scenario over them.
inline std::vector<QString> entryFormsWhere(bool (*keep)(const lb::documents::EntryFormConfig&))
{
    std::vector<QString> keys;
    for (const QString& key : lb::documents::DocumentCatalog::entryFormKeys())
        if (keep(lb::documents::DocumentCatalog::entryForm(key)))
            keys.push_back(key);
    return keys;
}

class KindDocumentsFixture : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        lb::documents::registerDocumentWindows();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 500.0}});
        makeSupplier(QStringLiteral("S1"), QStringLiteral("粮油公司"), {{"balance", 1000.0}});
        makeAccount(QStringLiteral("0000000002"), QStringLiteral("工商银行"), {{"balance", 400.0}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 10.0}, {"sl_j", 12.0}});
    }

    static const lb::documents::DocumentKind& kind(lb::documents::BillKind which)
    {
        return lb::documents::DocumentKinds::of(which);
    }

    // How the kind's entry form posts: by 过帐 (false), and where the kind follows the posting
    // option, by 记帐 (true) too.
    static std::vector<bool> postingModes(const lb::documents::DocumentKind& kind)
    {
        return kind.followsPostingMode ? std::vector<bool>{false, true} : std::vector<bool>{false};
    }

    // The option that makes the entry forms book stock only (记帐) or post in full (过帐).
    void choosePostingMode(bool booking) { exec(QStringLiteral("update config set tallybj=:p1"), {booking ? "F" : "T"}); }

    // C1 for the kinds of customers, S1 for those of suppliers.
    static QString partyOf(lb::documents::BillKind which)
    {
        return kind(which).partyTable == QLatin1String("customer") ? QStringLiteral("C1") : QStringLiteral("S1");
    }

    // An open document of the kind for its party: 2 of flour at 5 (cash lines for receipts and
    // payments: 100 from the bank).
    QString openDocument(lb::documents::BillKind which)
    {
        std::vector<Values> lines;
        if (kind(which).linesAreAccounts)
            lines = {{{"sphh", "0000000002"}, {"spmc", QStringLiteral("工商银行")}, {"amount", 100}}};
        else
            lines = {{{"spintno", flour}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"sl", 2}, {"js", 1}, {"sl_j", 2},
                      {"dj_n", 5}, {"dj_w", 5}}};
        return makeDocument(kind(which), partyOf(which), lines);
    }

    // The same document posted, or booked for stock only when `book`.
    QString postedDocument(lb::documents::BillKind which, bool book = false)
    {
        const lb::documents::DocumentKind& made = kind(which);
        const QString intno = openDocument(which);
        const auto outcome = book ? lb::documents::DocumentPosting::book(db(), made, intno, partyOf(which))
                                  : lb::documents::DocumentPosting::post(db(), made, intno, partyOf(which), QStringLiteral("0000000001"));
        EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
        return intno;
    }

    // The posted view `key` of document `intno` as the product history opens it, shown and active.
    lb::documents::PostedDocumentView* openPostedView(const QString& key, const QString& intno)
    {
        main->CurrentBillNo = intno;
        auto* view = qobject_cast<lb::documents::PostedDocumentView*>(lb::core::WindowRegistry::instance().create(key, main.get()));
        view->showWork(true);
        QApplication::setActiveWindow(view);
        flush();
        return view;
    }

    QString flour;
};
