// The main window: start-up and shutdown of a run, and the shared state every window reads.
#pragma once

#include "core/PickCode.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>

class QPrinter;

class QLabel;
namespace lb {
class InstanceLock;
}

namespace lb::core {

class Tfrmain : public QMainWindow {
    Q_OBJECT
public:
    // The printer chosen under "打印设置"; it lives as long as the main window, so that it is
    // gone before the application object is.
    QPrinter& printerSetup();
    // The printer set-up dialog "打印设置" over `over`, on that printer; the choice holds for
    // every later print.
    void choosePrinter(QWidget* over);
    // Takes the single-instance guard, removes what killed copies and compactions left, clears
    // the shared fields and checks that the database file and works/ can be written. Touches
    // no dataset: the data module does not exist yet. When another copy runs or the books
    // cannot be used, it says so and startRefused() is true; the caller then ends the program.
    explicit Tfrmain(QWidget* parent = nullptr);
    ~Tfrmain() override;

    // Shared state of the run, read and written by windows of every part of the program.
    bool FirstActivate = false; // from the end of the first showing until the first activation
    lb::core::PickCode PickMode = lb::core::PickCode::None; // who opened a record list as a picker
    int SortMode = 0;          // sort state of the product list, stock list and customer-product table
    int CustProductPick = 0;   // 7 while the product list adds rows to the customer-product table
    int ReportPageCount = 0;   // page count of the report just prepared for printing
    QString ImeName;           // trimmed config.imename
    QString OperatorNo;        // opcrl.bh of the logged-in operator; "999" is the administrator
    QString OperatorPassword;  // the password typed at log-in (or set since), plain, in memory only
    QString OperatorName;      // opcrl.xm of the logged-in operator
    bool LastYearMode = false; // last year's data is loaded
    bool NewBillFlag = false;  // an entry form starts a new document; else it shows the chosen one
    QString CurrentBillNo;     // intno of the current document header
    bool AddMode = false;      // an editor adds a record; else it changes the current one
    QString EditIntno;         // intno of the record an editor changes
    bool EntryByProductCode = false; // config.bcszbj is "F": the purchase form's code box fills its line
    bool SpecIsBarcode = false;      // config.bcbj is "T": spgg is titled "条形码", not "规格型号"
    // Sets the two flags above from the options' texts bcbj and bcszbj, as stored.
    void copyOptionFlags(const QString& bcbj, const QString& bcszbj);

    // Menus, tool bar, navigator bar and dashboard; placed over the work area, which holds the
    // background picture Image1 (created by the constructor). Defined with the menus.
    void buildMenus();
    // Shows the dashboard page "基本资料" with the first navigator button selected.
    void showFirstDashboardPage();

    // The background picture, stretched over the work area (a label with scaled contents).
    QLabel* Image1 = nullptr;
    // Loads a picture file into Image1: JPEG through libjpeg, other formats through Qt.
    // Throws lb::FileOpenError when the file cannot be read or decoded; Image1 is then unchanged.
    void loadBackgroundPicture(const QString& path);

    // The main window's caption before the operator part: "朔栎进销存(V2009)".
    static QString baseCaption();
    // Rebuilds the caption so that it ends with " 操作员:" + OperatorName.
    void updateOperatorCaption();

    // Ends the program without the backup question (failed log-in, "关闭系统"), whatever
    // windows are open: each work window gets its way out, a form before the list it was
    // opened from, and closes whatever that did (lb::ui::WorkWindow::endAll); what fails on the
    // way is logged, not shown. Then it sends programEnding(), which the program start
    // connects to leaving every message loop; terminated() tells a caller that runs before the
    // loop not to start it.
    void terminateProgram();
    bool terminated() const { return terminated_; }
    bool startRefused() const { return startRefused_; }

    // The steps of the first showing, activation and closing; the events call them, and tests
    // call them directly. FormShow runs once; errors of its own steps propagate to the caller.
    void FormShow();
    void FormActivate();
    // Closes the company row and the connection and asks the backup question, unless the run
    // was terminated; then ends the run. Runs once.
    void FormClose();

signals:
    void programEnding();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // ---- Menus, tool bar and dashboard: members used by Tfrmain_menus.cpp go below. ----

private:
    void buildStatusBar();
    // Ends the run before it starts, with the reason in an error box captioned "朔栎软件".
    void refuseStart(const QString& reason);
    std::unique_ptr<lb::InstanceLock> instanceLock_;
    std::unique_ptr<QPrinter> printer_;
    QLabel* statusFirst_ = nullptr;
    QLabel* statusLast_ = nullptr;
    bool startRefused_ = false;
    bool terminated_ = false;
    bool shown_ = false;
    bool closed_ = false;
};

} // namespace lb::core

extern QPointer<lb::core::Tfrmain> frmain;
