// The frame every summary, statement and the product history share: period boxes, buttons, grid.
#pragma once

#include "summaries/ReportPeriod.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/WorkWindow.h"

#include <functional>
#include <vector>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace lb::ui {
class DataGrid;
class FocusChain;
}

namespace lb::summaries {

// A top row (the period boxes "日期从" MaskEdit1 and "到" MaskEdit2, the window's own boxes,
// then the buttons refresh, report and cancel), the read-only grid DBGrid2 and what a window
// puts under it. The period boxes take digits and "-" only; a double-click picks a date with
// the shared date picker; Enter moves from MaskEdit1 to MaskEdit2 and from MaskEdit2 runs
// periodEntered(); Up and Down move through the controls.
class SummaryWindow : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    QLineEdit* MaskEdit1 = nullptr;
    QLineEdit* MaskEdit2 = nullptr;
    QPushButton* refresh = nullptr;
    QPushButton* report = nullptr;
    QPushButton* cancel = nullptr;
    lb::ui::DataGrid* DBGrid2 = nullptr;

    // The boxes' period; lb::ConvertError when a box holds no valid date.
    lb::summaries::Period period() const;
    // The first step of every run: both boxes converted, then stored as the remembered period
    // (nothing is stored when either is not a date). Returns it.
    lb::summaries::Period storePeriod();
    // Fills the boxes with the remembered period.
    void loadPeriod();
    // Double-click on a period box: the date picker opens on the box's date (today for an
    // empty box) and, on OK, writes the chosen date into the box.
    void pickDate(QLineEdit* box);

    // The text a period box shows ("    -  -  " when empty).
    static QString boxText(const QLineEdit* box);

protected:
    SummaryWindow(const QString& key, const QString& caption, QWidget* owner);

    // The grid's columns, each given a width fit for what its field holds unless it has one.
    void setGridColumns(std::vector<lb::ui::GridColumn> columns);
    // A double-click on `box` runs `action` under the error handler.
    void onDoubleClick(QWidget* box, std::function<void()> action);
    // Adds the buttons after whatever the window put into the top row since construction;
    // the focus then goes through the top row from left to right to the grid, and on to what
    // the window puts under it.
    void addButtons(const QString& refreshCaption, const QString& reportCaption);
    // Runs once, on the first showing, under the error handler.
    virtual void FormShow() {}
    // Enter in MaskEdit2.
    virtual void periodEntered() = 0;
    // Closing steps shared by the windows opened from the menu: the company row is closed, the
    // connection made afresh (which closes every dataset) and the company row opened again.
    static void reconnect();

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* layout_ = nullptr;
    QHBoxLayout* top_ = nullptr;
    lb::ui::FocusChain* focus_ = nullptr;

private:
    QLineEdit* makePeriodBox(const QString& name, const QString& label);
    bool shown_ = false;
    std::vector<std::pair<QWidget*, std::function<void()>>> doubleClicks_;
};

} // namespace lb::summaries
