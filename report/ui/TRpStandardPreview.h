// The preview window: a page at a zoom, thumbnails, navigation, text search, printing, saving
// and loading report files.
#pragma once

#include "report/ui/PageThumbnails.h"

#include <QWidget>
#include <QPointer>
#include <QStyle>

class QLabel;
class QListWidget;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QGroupBox;

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

class TRpPreview;

// Shown for one device; closing it (button, Esc, close box) lets go of the device, which stops
// a run still generating. Load and Save wait for the run to finish, and so do Print and Printer
// setup; the search covers the pages generated so far. Deleted when closed.
class TRpStandardPreview : public QWidget {
    Q_OBJECT
public:
    // `device` is not owned; the window lets go of it when it closes.
    explicit TRpStandardPreview(TRpPrinter& device, QWidget* parent = nullptr);
    ~TRpStandardPreview() override;

    TRpPrinter* Device() const { return device_; }

    QToolBar* ToolBar1;
    QToolButton* ZoomFit;
    QToolButton* ZoomToWidth;
    QToolButton* Zoom100;
    QToolButton* FirstPage;
    QToolButton* PreviousPage;
    QToolButton* ToolButton2; // next page
    QToolButton* LastPage;
    QToolButton* GotoPageButton;
    QToolButton* FindButton;
    QToolButton* PrintSetup;
    QToolButton* Print;
    QToolButton* SaveReport;
    QToolButton* LoadReport;
    QToolButton* ExitButton;
    TRpPreview* RpPreview;
    QTabWidget* Tabs;
    QWidget* TabThumbs;
    QTableWidget* ThumbGrid;
    QWidget* TabSearchResult;
    QGroupBox* SearchGroup;
    QLabel* SearchTextLabel;
    QListWidget* SearchResultBox;
    QLabel* StatusPanels[3];

    // Navigation as the buttons and keys do it; pages outside the report are ignored.
    void GoToPage(int number);
    // Searches the generated pages for `text` and lists the pages that hold it.
    void Search(const QString& text, bool matchCase);
    // The shared status text: the report's title, or the file loaded.
    const QString& StatusText() const { return statusText_; }
    // The pictures of the thumbnails shown, kept while the window shows the same pages.
    PageThumbnails& Thumbnails() { return thumbnails_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* AddButton(const QString& name, const QString& hint, QStyle::StandardPixmap icon, const QString& text = QString());
    void FirstPageClick();
    void PreviousPageClick();
    void NextPageClick();
    void LastPageClick();
    // The window's own keys: Esc, Page Up and Down (with Ctrl: first and last page), Home, End.
    bool HandleKey(const QKeyEvent& event);
    void CloseClick();
    void GotoPageClick();
    void FindClick();
    void PrintClick();
    void PrintSetupClick();
    void SaveReportClick();
    void LoadReportClick();
    void PageAvailable(int count);
    void ShowPagesReady();
    void ProgressUpdate(int percent);
    void UpdateStatus();
    void UpdateButtons();
    void LayOutThumbs();
    void ThumbSelected();
    void Detach();

    TRpPrinter* device_;
    PageThumbnails thumbnails_;
    // Gathers the page notices of a run, so that the thumbnails and the status follow them a few
    // times a second rather than at every page.
    QTimer* pagesTimer_;
    int pagesReady_ = 0;
    QString statusText_;
    bool landscape_ = false;
    int lastProgress_ = 0;
    bool suppressThumbSelection_ = false;
    bool finished_ = false;
};

} // namespace lb::report::ui
