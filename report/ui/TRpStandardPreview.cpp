// Preview window: tool bar, thumbnails, search results and status bar over the page view.
#include "report/ui/TRpStandardPreview.h"

#include "platform/sys/Errors.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/Modal.h"
#include "report/RpPageText.h"
#include "report/RpRound.h"
#include "report/TCustomRpReport.h"
#include "report/TRpPrinter.h"
#include "report/ui/TRpPreview.h"
#include "report/ui/TRpPreviewImage.h"
#include "report/ui/TSearchDlg.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lb::report::ui {

namespace {

const QString kFileFilter = QStringLiteral("Report file (*.RPF)");

// Draws each thumbnail row: its page's kept picture (drawn the first time it shows) and the
// page number.
class ThumbDelegate : public QStyledItemDelegate {
public:
    ThumbDelegate(TRpStandardPreview& preview, QObject* parent) : QStyledItemDelegate(parent), preview_(preview) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const QRect cell = option.rect;
        const int width = std::max(cell.width() - 40, 10);
        const QRect pageRect(QPoint(cell.left() + (cell.width() - width) / 2, cell.top() + 10),
                             QPoint(cell.left() + (cell.width() - width) / 2 + width, cell.bottom() - 10));
        QImage picture;
        if (TRpPrinter* device = preview_.Device()) {
            try {
                picture = preview_.Thumbnails().Picture(*device, index.row() + 1, pageRect.size());
            } catch (...) {
                // A page the store cannot give back (its temporary file unreadable) must not
                // unwind through the view's painting: the thumbnail stays blank and the error
                // is reported once the paint is over.
                QObject* sender = &preview_;
                QMetaObject::invokeMethod(sender, [sender, error = std::current_exception()] {
                    lb::ui::LbApplication::guarded(sender, [&]() -> bool { std::rethrow_exception(error); });
                }, Qt::QueuedConnection);
            }
        }
        if (picture.isNull())
            TRpPreviewImage::PaintPage(*painter, nullptr, pageRect);
        else
            painter->drawImage(pageRect.topLeft(), picture);
        const QString number = QString::number(index.row() + 1);
        const QRect label(cell.topLeft(), QSize(painter->fontMetrics().horizontalAdvance(number) + 4, painter->fontMetrics().height()));
        painter->fillRect(label, option.palette.button());
        painter->setPen(option.palette.buttonText().color());
        painter->drawText(label, Qt::AlignCenter, number);
        painter->restore();
    }

private:
    TRpStandardPreview& preview_;
};

} // namespace

TRpStandardPreview::TRpStandardPreview(TRpPrinter& device, QWidget* parent) : QWidget(parent), device_(&device)
{
    setObjectName(QStringLiteral("TRpStandardPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(800, 639);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    layout->addWidget(ToolBar1);
    ZoomFit = AddButton(QStringLiteral("ZoomFit"), QStringLiteral("Zoom to fit"), QStyle::SP_TitleBarNormalButton);
    ZoomToWidth = AddButton(QStringLiteral("ZoomToWidth"), QStringLiteral("Zoom to width"), QStyle::SP_ToolBarHorizontalExtensionButton);
    Zoom100 = AddButton(QStringLiteral("Zoom100"), QStringLiteral("100%"), QStyle::SP_CustomBase, QStringLiteral("100%"));
    auto* zooms = new QButtonGroup(this);
    for (QToolButton* button : {ZoomFit, ZoomToWidth, Zoom100}) {
        button->setCheckable(true);
        zooms->addButton(button);
    }
    ToolBar1->addSeparator();
    FirstPage = AddButton(QStringLiteral("FirstPage"), QStringLiteral("First page"), QStyle::SP_MediaSkipBackward);
    PreviousPage = AddButton(QStringLiteral("PreviousPage"), QStringLiteral("Previous page"), QStyle::SP_MediaSeekBackward);
    ToolButton2 = AddButton(QStringLiteral("ToolButton2"), QStringLiteral("Next page"), QStyle::SP_MediaSeekForward);
    LastPage = AddButton(QStringLiteral("LastPage"), QStringLiteral("Last page"), QStyle::SP_MediaSkipForward);
    GotoPageButton = AddButton(QStringLiteral("GotoPageButton"), QStringLiteral("Go to page"), QStyle::SP_ArrowRight);
    FindButton = AddButton(QStringLiteral("FindButton"), QStringLiteral("Search for text"), QStyle::SP_FileDialogContentsView);
    ToolBar1->addSeparator();
    PrintSetup = AddButton(QStringLiteral("PrintSetup"), QStringLiteral("Printer setup"), QStyle::SP_FileDialogDetailedView);
    Print = AddButton(QStringLiteral("Print"), QStringLiteral("Print"), QStyle::SP_DialogApplyButton);
    SaveReport = AddButton(QStringLiteral("SaveReport"), QStringLiteral("Save Report"), QStyle::SP_DialogSaveButton);
    LoadReport = AddButton(QStringLiteral("LoadReport"), QStringLiteral("Load Report"), QStyle::SP_DialogOpenButton);
    ToolBar1->addSeparator();
    ExitButton = AddButton(QStringLiteral("ExitButton"), QStringLiteral("Close preview"), QStyle::SP_CustomBase, QStringLiteral("&Close"));
    // The window is never narrower than its tool bar (a report's preview opens 500 pixels wide
    // by default): a button the bar moved into its overflow menu would be hidden, and Close
    // with it its access key, Alt+C.
    setMinimumWidth(ToolBar1->sizeHint().width());

    auto* splitter = new QSplitter(this);
    layout->addWidget(splitter, 1);
    Tabs = new QTabWidget(splitter);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    Tabs->setMinimumWidth(120);
    TabThumbs = new QWidget;
    TabThumbs->setObjectName(QStringLiteral("TabThumbs"));
    auto* thumbLayout = new QVBoxLayout(TabThumbs);
    thumbLayout->setContentsMargins(0, 0, 0, 0);
    ThumbGrid = new QTableWidget(0, 1, TabThumbs);
    ThumbGrid->setObjectName(QStringLiteral("ThumbGrid"));
    ThumbGrid->horizontalHeader()->hide();
    ThumbGrid->verticalHeader()->hide();
    ThumbGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ThumbGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ThumbGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ThumbGrid->setShowGrid(false);
    ThumbGrid->setItemDelegate(new ThumbDelegate(*this, ThumbGrid));
    thumbLayout->addWidget(ThumbGrid);
    Tabs->addTab(TabThumbs, QStringLiteral("Thumbnails"));
    TabSearchResult = new QWidget;
    TabSearchResult->setObjectName(QStringLiteral("TabSearchResult"));
    auto* searchLayout = new QVBoxLayout(TabSearchResult);
    SearchGroup = new QGroupBox(QStringLiteral("Search text"), TabSearchResult);
    auto* groupLayout = new QVBoxLayout(SearchGroup);
    SearchTextLabel = new QLabel(SearchGroup);
    SearchTextLabel->setObjectName(QStringLiteral("SearchTextLabel"));
    groupLayout->addWidget(SearchTextLabel);
    searchLayout->addWidget(SearchGroup);
    SearchResultBox = new QListWidget(TabSearchResult);
    SearchResultBox->setObjectName(QStringLiteral("SearchResultBox"));
    SearchResultBox->setEnabled(false);
    searchLayout->addWidget(SearchResultBox, 1);
    Tabs->addTab(TabSearchResult, QStringLiteral("Search result"));
    RpPreview = new TRpPreview(splitter);
    RpPreview->setObjectName(QStringLiteral("RpPreview"));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({193, 600});

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    const int widths[] = {40, 120, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(status);
        StatusPanels[i]->setMinimumWidth(widths[i]);
        status->addWidget(StatusPanels[i], i == 2 ? 1 : 0);
    }
    StatusPanels[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(status);

    connect(ZoomFit, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { RpPreview->ZoomToFit(); }));
    connect(ZoomToWidth, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { RpPreview->ZoomToWidth(); }));
    connect(Zoom100, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { RpPreview->SetZoom(100); }));
    connect(FirstPage, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::FirstPageClick));
    connect(PreviousPage, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::PreviousPageClick));
    connect(ToolButton2, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::NextPageClick));
    connect(LastPage, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::LastPageClick));
    connect(GotoPageButton, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::GotoPageClick));
    connect(FindButton, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::FindClick));
    connect(Print, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::PrintClick));
    connect(PrintSetup, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::PrintSetupClick));
    connect(SaveReport, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::SaveReportClick));
    connect(LoadReport, &QToolButton::clicked, this, lb::ui::guardSlot(this, &TRpStandardPreview::LoadReportClick));
    connect(ExitButton, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { close(); }));
    connect(ThumbGrid, &QTableWidget::itemSelectionChanged, this, lb::ui::guardSlot(this, &TRpStandardPreview::ThumbSelected));
    connect(RpPreview, &TRpPreview::pageAvailable, this, lb::ui::guardSlot(this, &TRpStandardPreview::PageAvailable));
    pagesTimer_ = new QTimer(this);
    pagesTimer_->setSingleShot(true);
    pagesTimer_->setInterval(200);
    connect(pagesTimer_, &QTimer::timeout, this, lb::ui::guardSlot(this, &TRpStandardPreview::ShowPagesReady));
    connect(RpPreview, &TRpPreview::progressUpdate, this, lb::ui::guardSlot(this, &TRpStandardPreview::ProgressUpdate));

    for (QWidget* child : {static_cast<QWidget*>(RpPreview), RpPreview->viewport(), static_cast<QWidget*>(ThumbGrid),
                           static_cast<QWidget*>(SearchResultBox), static_cast<QWidget*>(Tabs)})
        child->installEventFilter(this);

    bool thumbs = true;
    bool search = true;
    TRpZoomState zoom = TRpZoomState::rpZoomOther;
    if (TCustomRpReport* report = device.ParentReport()) {
        resize(report->PreviewWidth(), report->PreviewHeight());
        if (report->PreviewMaximized)
            setWindowState(Qt::WindowMaximized);
        thumbs = report->PrevShowThumbs;
        search = report->PrevShowSearch;
        zoom = report->PrevInitialZoom;
        statusText_ = report->ReportTitle;
        landscape_ = report->Page().Orientation() == TPrinterOrientation::Landscape;
    } else {
        setWindowState(Qt::WindowMaximized);
    }
    RpPreview->SetRpPrinter(&device);
    if (!device.JobTitle.isEmpty())
        setWindowTitle(device.JobTitle);
    Tabs->setVisible(thumbs || search);
    Tabs->setTabVisible(0, thumbs);
    if (!search) {
        Tabs->setTabVisible(1, false);
        // A tool bar shows or hides its widgets through their actions.
        for (QAction* action : ToolBar1->actions()) {
            if (ToolBar1->widgetForAction(action) == FindButton)
                action->setVisible(false);
        }
    }
    if (zoom == TRpZoomState::rpZoomToFit) {
        ZoomFit->setChecked(true);
        RpPreview->ZoomToFit();
    } else if (zoom == TRpZoomState::rpZoomToWidth) {
        ZoomToWidth->setChecked(true);
        RpPreview->ZoomToWidth();
    } else {
        Zoom100->setChecked(true);
        RpPreview->SetZoom(100);
    }
    finished_ = device.State() == TRpPrinter::TRpPrinterState::Finished;
    LayOutThumbs();
    PageAvailable(device.PagesReady());
}

TRpStandardPreview::~TRpStandardPreview()
{
    Detach();
}

QToolButton* TRpStandardPreview::AddButton(const QString& name, const QString& hint, QStyle::StandardPixmap icon, const QString& text)
{
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setToolTip(hint);
    if (icon == QStyle::SP_CustomBase) {
        button->setText(text);
    } else {
        button->setIcon(style()->standardIcon(icon));
        button->setText(hint);
    }
    ToolBar1->addWidget(button);
    return button;
}

void TRpStandardPreview::Detach()
{
    if (!device_)
        return;
    TRpPrinter* device = device_;
    device_ = nullptr;
    RpPreview->SetRpPrinter(nullptr);
    // Tells the report: a run still generating stops at its next record.
    device->SetPreviewShown(false);
}

void TRpStandardPreview::closeEvent(QCloseEvent* event)
{
    Detach();
    QWidget::closeEvent(event);
}

void TRpStandardPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutThumbs();
}

void TRpStandardPreview::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(*event))
        QWidget::keyPressEvent(event);
}

// The window sees the keys before its page view, thumbnails and result list, which would
// otherwise take Page Up, Page Down, Home and End for scrolling.
bool TRpStandardPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent&>(*event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool TRpStandardPreview::HandleKey(const QKeyEvent& event)
{
    const bool ctrl = event.modifiers() == Qt::ControlModifier;
    void (TRpStandardPreview::*command)() = nullptr;
    switch (event.key()) {
    case Qt::Key_Escape: command = &TRpStandardPreview::CloseClick; break;
    case Qt::Key_PageUp: command = ctrl ? &TRpStandardPreview::FirstPageClick : &TRpStandardPreview::PreviousPageClick; break;
    case Qt::Key_PageDown: command = ctrl ? &TRpStandardPreview::LastPageClick : &TRpStandardPreview::NextPageClick; break;
    case Qt::Key_Home: command = &TRpStandardPreview::FirstPageClick; break;
    case Qt::Key_End: command = &TRpStandardPreview::LastPageClick; break;
    default: return false;
    }
    // Key handlers run inside Qt's event delivery: errors end here as a slot's do.
    lb::ui::guardSlot(this, command)();
    return true;
}

void TRpStandardPreview::CloseClick()
{
    close();
}

void TRpStandardPreview::GoToPage(int number)
{
    RpPreview->SetPageNumber(number);
    UpdateStatus();
    const int page = RpPreview->PageNumber();
    if (page >= 1 && page <= ThumbGrid->rowCount()) {
        suppressThumbSelection_ = true;
        ThumbGrid->selectRow(page - 1);
        suppressThumbSelection_ = false;
    }
}

void TRpStandardPreview::FirstPageClick()
{
    GoToPage(1);
}

void TRpStandardPreview::PreviousPageClick()
{
    GoToPage(RpPreview->PageNumber() - 1);
}

void TRpStandardPreview::NextPageClick()
{
    GoToPage(RpPreview->PageNumber() + 1);
}

void TRpStandardPreview::LastPageClick()
{
    if (device_)
        GoToPage(device_->PageList().PageCount());
}

void TRpStandardPreview::GotoPageClick()
{
    const int count = device_ ? device_->PageList().PageCount() : 0;
    const QString preset = QString::number(RpPreview->PageNumber());
    const QString answer = lb::ui::Dialogs::inputBox(QStringLiteral("Select a page from 1 to %1").arg(count),
                                                     QStringLiteral("Go to page >>"), preset);
    bool ok = false;
    const int number = answer.trimmed().toInt(&ok);
    GoToPage(!ok || number < 1 || number > count ? 1 : number);
}

void TRpStandardPreview::FindClick()
{
    TSearchDlg dialog(this);
    if (lb::ui::Modal::exec(dialog) != QDialog::Accepted)
        return;
    Search(dialog.Edit1->text(), dialog.CheckBox1->isChecked());
}

void TRpStandardPreview::Search(const QString& text, bool matchCase)
{
    Tabs->setCurrentWidget(TabSearchResult);
    SearchResultBox->setEnabled(true);
    SearchResultBox->clear();
    SearchTextLabel->setText(text);
    const int count = device_ ? device_->PageList().PageCount() : 0;
    for (int number = 1; number <= count; ++number) {
        const std::optional<gfx::EmfMetafile> page = device_->GetPage(number);
        if (page && RpPageContains(*page, text, matchCase))
            SearchResultBox->addItem(QStringLiteral("Page ") + QString::number(number));
    }
    if (SearchResultBox->count() == 0) {
        SearchResultBox->addItem(QStringLiteral("No matching text"));
        SearchResultBox->setEnabled(false);
    }
}

void TRpStandardPreview::PrintClick()
{
    if (device_)
        device_->PrintStoredPages();
}

void TRpStandardPreview::PrintSetupClick()
{
    if (!device_ || !device_->PrintSetupHandler)
        return;
    if (!device_->PrintSetupHandler())
        return;
    if (TCustomRpReport* report = device_->ParentReport()) {
        const TRpReportPrinterSettings& chosen = report->PrinterSettings;
        device_->FirstPage = chosen.FirstPage;
        device_->LastPage = chosen.LastPage;
        device_->PrinterSettings().Copies = chosen.Copies;
        device_->PrinterSettings().Collate = chosen.Collate;
        device_->PrinterSettings().PrinterIndex = chosen.PrinterIndex;
    }
}

void TRpStandardPreview::SaveReportClick()
{
    if (!device_)
        return;
    QFileDialog dialog(this, QStringLiteral("Save report"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(kFileFilter);
    dialog.setDefaultSuffix(QStringLiteral("RPF"));
    if (lb::ui::Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    device_->Save(dialog.selectedFiles().first());
}

void TRpStandardPreview::LoadReportClick()
{
    if (!device_)
        return;
    QFileDialog dialog(this, QStringLiteral("Load report"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(kFileFilter);
    if (lb::ui::Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().first();
    if (!QFileInfo::exists(file)) {
        lb::ui::Dialogs::message(QStringLiteral("File does not exist"));
        return;
    }
    device_->Load(file);
    thumbnails_.Clear();
    statusText_ = file;
    RpPreview->SetRpPrinter(device_);
    LayOutThumbs();
    PageAvailable(device_->PagesReady());
    GoToPage(1);
    PrintSetup->setEnabled(false);
    Print->setEnabled(true);
}

void TRpStandardPreview::PageAvailable(int count)
{
    pagesReady_ = count;
    finished_ = device_ && device_->State() == TRpPrinter::TRpPrinterState::Finished;
    // The thumbnails follow the run a few times a second: redrawing them at every page would
    // make a long run several times slower. The first page and the end of the run show at once.
    if (finished_ || count <= 1) {
        pagesTimer_->stop();
        ShowPagesReady();
    } else if (!pagesTimer_->isActive()) {
        pagesTimer_->start();
    }
}

void TRpStandardPreview::ShowPagesReady()
{
    ThumbGrid->setRowCount(pagesReady_);
    LayOutThumbs();
    ThumbGrid->viewport()->update();
    UpdateStatus();
    UpdateButtons();
}

void TRpStandardPreview::ProgressUpdate(int percent)
{
    if (percent == 0 || percent == 100) {
        StatusPanels[0]->clear();
        lastProgress_ = percent;
    } else if (percent >= lastProgress_ + 5) {
        StatusPanels[0]->setText(QString::number(percent) + QLatin1Char('%'));
        lastProgress_ = percent;
    }
}

void TRpStandardPreview::UpdateStatus()
{
    const int count = device_ ? device_->PageList().PageCount() : 0;
    StatusPanels[1]->setText(QStringLiteral("Page") + QLatin1Char(' ') + QString::number(RpPreview->PageNumber()) + QLatin1Char(' ')
                             + QStringLiteral("of") + QLatin1Char(' ') + QString::number(count));
    StatusPanels[2]->setText(statusText_);
}

void TRpStandardPreview::UpdateButtons()
{
    const bool loaded = device_ && device_->Loaded();
    PrintSetup->setEnabled(finished_ && !loaded);
    Print->setEnabled(finished_);
    SaveReport->setEnabled(finished_);
    LoadReport->setEnabled(finished_);
}

void TRpStandardPreview::LayOutThumbs()
{
    const int inner = std::max(ThumbGrid->viewport()->width(), 40);
    ThumbGrid->setColumnWidth(0, inner);
    const QSizeF page = RpPreview->PageSize();
    const double width = inner - 20;
    const double ratio = landscape_ && page.height() > page.width() ? page.width() / page.height() : page.height() / page.width();
    const int height = std::max(int(Round(width * ratio)), 20);
    ThumbGrid->verticalHeader()->setDefaultSectionSize(height);
}

void TRpStandardPreview::ThumbSelected()
{
    if (suppressThumbSelection_)
        return;
    const QList<QTableWidgetSelectionRange> ranges = ThumbGrid->selectedRanges();
    if (!ranges.isEmpty())
        GoToPage(ranges.first().topRow() + 1);
}

} // namespace lb::report::ui
