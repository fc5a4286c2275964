// The product history "明细表查询": one product's posted movements and the documents behind them.
#pragma once

#include "summaries/SummaryWindow.h"

namespace lb::summaries {

// Opened over the product list for the product on which the shared product
// dataset stands. It lists every posted, not reversed line of the product in sales, sales
// returns, purchases and purchase returns; "刷新" narrows them to the period, "查明细单" opens
// the posted view of the current line's document, which offers no command that changes it.
// PickMode is ProductListHistory while it is open and None after it closes (the product list
// refuses to open it while it picks for a document).
class Tfrdetail : public SummaryWindow {
    Q_OBJECT
public:
    // Fills the history of the product Aqproduct stands on and creates the window over
    // `owner`, not yet shown. lb::Abort when Aqproduct holds no product.
    static Tfrdetail* open(QWidget* owner);

    const QString& productIntno() const { return product_; }

    void refreshClick();
    // 查明细单: nothing without rows, or for a kind without a posted view (or one not built
    // yet), or when the document is gone; a kind code that is not a number raises
    // lb::ConvertError before anything is opened.
    void reportClick();

protected:
    void FormShow() override;
    void periodEntered() override { refreshClick(); }
    void onClosing() override;

private:
    Tfrdetail(QString productIntno, QWidget* owner);

    QString product_;
};

} // namespace lb::summaries
