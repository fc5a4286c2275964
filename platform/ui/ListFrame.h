// The frame of a list window: a tool bar with a search row, a read-only grid, status panels.
#pragma once

#include "platform/ui/WorkWindow.h"

#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStatusBar;
class QToolBar;

namespace lb::ui {

class DataGrid;

// What the lists of records and of documents share: a work window whose tool bar carries the
// commands and the search row, a read-only grid filling the rest, and a status bar of fixed
// panels. The window that derives from it adds its tools, search row and panels in its
// constructor and wires their behaviour itself.
class ListFrame : public WorkWindow {
    Q_OBJECT
public:
    explicit ListFrame(QWidget* opener);
    ~ListFrame() override;

    DataGrid* grid() const { return grid_; }
    // The search option box and the search box; nullptr without a search row.
    QComboBox* searchOption() const { return option_; }
    QLineEdit* searchText() const { return text_; }
    // The radio buttons of the search modes, in caption order; empty without them.
    const std::vector<QRadioButton*>& searchModeButtons() const { return modes_; }
    // A tool by its object name; nullptr when the list has none.
    QAction* tool(const QString& name) const;
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);

    // The radio group "查找方式" with one button per caption, `initial` chosen; the buttons are
    // appended to `buttons` in caption order.
    static QGroupBox* searchModes(QWidget* parent, const QStringList& captions, int initial,
                                  std::vector<QRadioButton*>& buttons);
    // Gives a work window a size fit for its grids and centres it on its screen.
    static void centre(QWidget& window, const QSize& size);

protected:
    // A tool button named `name`, reached with Tab like the search row (the grid, made first,
    // has the focus when the list opens, and Tab goes from it along the top row); without a
    // command it is shown and disabled.
    QAction* addTool(const QString& name, const QString& caption, const QString& hint, std::function<void()> command);
    // A blank disabled button as wide as the text `widthOf` would make it.
    void addToolSpacer(const QString& widthOf);
    // The search row on the tool bar: the editable option box (`options`, showing `initial`)
    // and the search box named `textName`.
    void addSearchRow(const QStringList& options, const QString& initial, const QString& optionHint,
                      const QString& textName, const QString& textHint);
    void addSearchModes(const QStringList& captions, int initial);
    void addStatusPanel(const QString& text);

private:
    QToolBar* bar_ = nullptr;
    DataGrid* grid_ = nullptr;
    QStatusBar* status_ = nullptr;
    QComboBox* option_ = nullptr;
    QLineEdit* text_ = nullptr;
    std::vector<QRadioButton*> modes_;
    std::vector<QLabel*> panels_;
};

} // namespace lb::ui
