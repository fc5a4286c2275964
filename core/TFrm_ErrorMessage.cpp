// The error form and the global error handler: every error no command handles ends up here.
#include "core/TFrm_ErrorMessage.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Table.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/Modal.h"
#include "platform/ui/WindowPlacement.h"
#include "platform/ui/GuardSlot.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QPointer<lb::core::TFrm_ErrorMessage> Frm_ErrorMessage;

namespace lb::core {

namespace {

QLineEdit* readOnlyBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    return box;
}

} // namespace

TFrm_ErrorMessage::TFrm_ErrorMessage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("异常信息"));
    setModal(true);

    Label1 = new QLabel(this);
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    Label1->setFont(bold);
    titlEdit = readOnlyBox(this);
    nameEdit = readOnlyBox(this);
    rqEdit = readOnlyBox(this);
    messEdit = new QPlainTextEdit(this);
    messEdit->setReadOnly(true);
    messEdit->setMaximumHeight(80);
    DBGrid1 = new lb::ui::DataGrid(this);
    if (frdm != nullptr) {
        DBGrid1->setDataSet(frdm->ATapperror);
        std::vector<lb::ui::GridColumn> columns;
        for (const char* name : {"capt", "titl", "name", "rq", "mess"})
            columns.push_back({QString::fromLatin1(name), QString(), 0, true, true, QColor()}); // titled by the labels
        DBGrid1->setColumns(std::move(columns));
        DBGrid1->setReadOnly(true);
    }
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    clearButton = new QPushButton(QStringLiteral("清空错误记录"), this);
    backButton = new QPushButton(QStringLiteral("返回"), this);
    closeSystemButton = new QPushButton(QStringLiteral("关闭系统"), this);
    backButton->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("出错程序名"), titlEdit);
    form->addRow(QStringLiteral("出错位置"), nameEdit);
    form->addRow(QStringLiteral("出错日期"), rqEdit);
    form->addRow(QStringLiteral("错误信息"), messEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clearButton);
    buttons->addStretch(1);
    buttons->addWidget(backButton);
    buttons->addWidget(closeSystemButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(DBGrid1, 1);
    resize(640, 480);

    connect(clearButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TFrm_ErrorMessage::ClearClick));
    connect(backButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TFrm_ErrorMessage::BackClick));
    connect(closeSystemButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TFrm_ErrorMessage::CloseSystemClick));

    lb::ui::LbApplication::setErrorHandler(
        [this](QObject* sender, const std::exception& error) { MyErrorMessage(sender, error); });
}

TFrm_ErrorMessage::~TFrm_ErrorMessage() { lb::ui::LbApplication::setErrorHandler({}); }

void TFrm_ErrorMessage::MyErrorMessage(QObject* sender, const std::exception& error)
{
    const Reporter reporter(sender);
    entry_ = ErrorLog::describe(error, reporter.name, reporter.source);
    // Should the text log fail too, the form still shows the error: it is the only trace left.
    logEntry(entry_);
    showEntry();
    // On the program's way out (关闭系统) what fails is logged, and nothing holds the end up.
    if (showing_ || (frmain && frmain->terminated()))
        return;
    showing_ = true;
    // Above the window the error came from, also when that one stays on top.
    QWidget* raiser = sender && sender->isWidgetType() ? static_cast<QWidget*>(sender)->window() : nullptr;
    if (!raiser || !raiser->isVisible() || raiser == this)
        raiser = QApplication::activeWindow();
    lb::ui::WindowPlacement::raiseOver(*this, raiser == this ? nullptr : raiser);
    lb::ui::Modal::exec(*this);
    showing_ = false;
}

void TFrm_ErrorMessage::showEntry()
{
    Label1->setText(entry_.kindText);
    titlEdit->setText(entry_.caption);
    nameEdit->setText(entry_.className);
    rqEdit->setText(lb::fmt::dateTimeToStr(entry_.when));
    messEdit->setPlainText(entry_.message);
}

void TFrm_ErrorMessage::ClearClick()
{
    ErrorLog::clear(*frdm->ATapperror, *frdm->AQcom, lb::AppPaths::errorLogFile());
}

void TFrm_ErrorMessage::BackClick() { reject(); }

void TFrm_ErrorMessage::CloseSystemClick()
{
    reject();
    if (frmain)
        frmain->terminateProgram();
}

void TFrm_ErrorMessage::done(int result)
{
    if (frdm != nullptr)
        frdm->ATapperror->close();
    QDialog::done(result);
}

} // namespace lb::core
