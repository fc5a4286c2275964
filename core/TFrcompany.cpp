// The company memo window "产品推荐": the free text of the company row.
#include "core/TFrcompany.h"

#include "core/Tfrdm.h"
#include "platform/db/Table.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lb::core {

TFrcompany::TFrcompany(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setWindowTitle(QStringLiteral("产品推荐"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    layout->addWidget(Memo1);
    resize(520, 400);
}

void TFrcompany::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    lb::db::Table& company = *frdm->ATcompany;
    company.open();
    company.edit();
    Memo1->setPlainText(company.fieldByName(QStringLiteral("doc")).asString());
}

void TFrcompany::onClosing()
{
    lb::db::Table& company = *frdm->ATcompany;
    if (company.state() == lb::db::DataSetState::Edit || company.state() == lb::db::DataSetState::Insert)
        company.post();
}

} // namespace lb::core
