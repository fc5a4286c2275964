// The list of one kind's documents: search, state colours, and the door to each document.
#include "documents/DocumentListWindow.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/Tfrpickdate.h"
#include "documents/DocumentEntryForm.h"
#include "documents/PostedDocumentView.h"
#include "platform/db/Query.h"
#include "platform/ui/ControlEntry.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/LbApplication.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

using lb::masterdata::ListSearch;
using lb::masterdata::SearchOption;

namespace lb::documents {

DocumentListWindow::DocumentListWindow(DocumentListConfig config, QWidget* owner)
    : lb::ui::ListFrame(owner), config_(std::move(config))
{
    setObjectName(config_.key);
    setWindowTitle(config_.caption);
    for (int i = 0; i < config_.spacers; ++i)
        addToolSpacer(QStringLiteral("查找单据"));
    addTool(QStringLiteral("findbill"), QStringLiteral("查找单据"), QString(), [this] { findbillClick(); });
    addTool(QStringLiteral("ToolButton5"), QStringLiteral("新开单"), QString(), [this] { ToolButton5Click(); });
    addTool(QStringLiteral("detail"), QStringLiteral("明细单"), QString(), [this] { detailClick(); });
    addTool(QStringLiteral("quit"), QStringLiteral("返回"), QStringLiteral("退回"), [this] { close(); });

    QStringList options;
    for (const SearchOption& option : config_.search.options)
        options << option.option;
    addSearchRow(options, config_.initialOption, QString(), QStringLiteral("Edit12"),
                 QStringLiteral("当选项为日期时,双击选取日期"));
    ComboBox1 = searchOption();
    Edit12 = searchText();
    Edit12->installEventFilter(this);
    // Leaving the box for another control searches; a box or a picker taking the focus does not.
    (new lb::ui::ControlEntry(this))->onExit(Edit12, [this] { findbillClick(); });
    connect(ComboBox1, &QComboBox::activated, this, lb::ui::guardSlot(this, &DocumentListWindow::ComboBox1Select));
    // The input method cannot be switched by name here; changing the option hands the focus on.
    connect(ComboBox1, &QComboBox::currentTextChanged, this, lb::ui::guardSlot(this, [this] { Edit12->setFocus(); }));

    DBGrid1 = grid();
    DBGrid1->setToolTip(QStringLiteral("双击某行进入相应单据明细表"));
    DBGrid1->setColumns(config_.columns);
    DBGrid1->setDataSet(frdm->AQoutlist);
    DBGrid1->setRowColor([this](int row) { return rowColour(*DBGrid1->dataSet(), row); });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, lb::ui::guardSlot(this, &DocumentListWindow::detailClick));
    setWindowState(Qt::WindowMaximized);
}

QColor DocumentListWindow::rowColour(const lb::db::DataSet& headers, int row)
{
    const lb::db::Field* pass = headers.findField(QStringLiteral("pass"));
    const lb::db::Field* cancel = headers.findField(QStringLiteral("cancel"));
    QColor colour;
    if (pass && headers.rowValue(row, pass->column()).toBool())
        colour = QColor(Qt::blue);
    if (cancel && headers.rowValue(row, cancel->column()).toBool())
        colour = QColor(Qt::red);
    return colour;
}

bool DocumentListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit12) {
        const bool dateMode = ComboBox1->currentText().trimmed() == config_.dateOption;
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                DBGrid1->setFocus(); // leaving the box searches
                return true;
            }
            // A date is picked, never typed.
            Edit12->setReadOnly(dateMode);
            break;
        }
        case QEvent::MouseButtonDblClick:
            lb::ui::LbApplication::guarded(this, [this] {
                Edit12DblClick();
                return true;
            });
            break;
        default:
            break;
        }
    }
    return lb::ui::ListFrame::eventFilter(watched, event);
}

void DocumentListWindow::findbillClick()
{
    // The search is planned, a date read, before the rows are replaced: a text that is no
    // date leaves the list as it was.
    const auto plan = ListSearch::plan(config_.search, ComboBox1->currentText().trimmed(), Edit12->text(), false, QString());
    if (!plan)
        return;
    if (plan->boxText) {
        const QSignalBlocker quiet(Edit12);
        Edit12->setText(*plan->boxText);
    }
    ListSearch::run(*frdm->AQoutlist, *plan);
}

void DocumentListWindow::detailClick()
{
    lb::db::Query& headers = *frdm->AQoutlist;
    if (!headers.active() || headers.isEmpty()) {
        lb::ui::Dialogs::message(QStringLiteral("查无单据不能进入明细表!"));
        return;
    }
    frmain->CurrentBillNo = headers.fieldByName(QStringLiteral("intno")).asString();
    if (headers.fieldByName(QStringLiteral("pass")).asBoolean()) {
        auto* view = new PostedDocumentView(config_.postedView, this);
        view->showWork(true);
        return;
    }
    frmain->NewBillFlag = false;
    auto* form = new DocumentEntryForm(config_.entryForm, this);
    form->showWork(true);
}

void DocumentListWindow::ToolButton5Click()
{
    frmain->NewBillFlag = true;
    auto* form = new DocumentEntryForm(config_.entryForm, this);
    form->showWork(true);
}

void DocumentListWindow::Edit12DblClick()
{
    if (ComboBox1->currentText().trimmed() == config_.dateOption)
        frpickdate->pickInto(*Edit12);
}

void DocumentListWindow::ComboBox1Select()
{
    const QString option = ComboBox1->currentText().trimmed();
    for (const SearchOption& entry : config_.search.options) {
        if (entry.option == option)
            Edit12->clear();
    }
    Edit12->setFocus();
}

void DocumentListWindow::onClosing()
{
    lb::db::Query& headers = *frdm->AQoutlist;
    headers.close();
    headers.sql().setText(QStringLiteral("SELECT * from %1").arg(DocumentKinds::of(config_.kind).headerTable));
    // The books are connected anew, as every list leaves them.
    frdm->ATcompany->close();
    frdm->ADOCon.setConnected(false);
    frdm->ADOCon.setConnected(true);
    frdm->ATcompany->open();
}

} // namespace lb::documents
