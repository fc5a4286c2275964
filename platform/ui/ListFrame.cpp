// The frame of a list window: a tool bar with a search row, a read-only grid, status panels.
#include "platform/ui/ListFrame.h"

#include "platform/ui/DataGrid.h"
#include "platform/ui/GuardSlot.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lb::ui {

ListFrame::ListFrame(QWidget* opener) : WorkWindow(opener)
{
    auto* layout = new QVBoxLayout(this);
    bar_ = new QToolBar(this);
    bar_->setObjectName(QStringLiteral("ToolBar1"));
    layout->addWidget(bar_);
    grid_ = new DataGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setReadOnly(true);
    layout->addWidget(grid_, 1);
    status_ = new QStatusBar(this);
    layout->addWidget(status_);
}

ListFrame::~ListFrame() = default;

QAction* ListFrame::addTool(const QString& name, const QString& caption, const QString& hint, std::function<void()> command)
{
    QAction* action = bar_->addAction(caption);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setEnabled(bool(command));
    if (command)
        connect(action, &QAction::triggered, this, guardSlot(this, [command] { command(); }));
    // A tool bar's buttons take no focus of their own; a list's are reached with Tab as well, so
    // that a list can be worked from the keyboard (Enter presses the focused button).
    if (QWidget* button = bar_->widgetForAction(action))
        button->setFocusPolicy(Qt::TabFocus);
    return action;
}

void ListFrame::addToolSpacer(const QString& widthOf)
{
    auto* spacer = new QToolButton(bar_);
    spacer->setEnabled(false);
    spacer->setMinimumWidth(spacer->fontMetrics().horizontalAdvance(widthOf) + 16);
    bar_->addWidget(spacer);
}

void ListFrame::addSearchRow(const QStringList& options, const QString& initial, const QString& optionHint,
                             const QString& textName, const QString& textHint)
{
    option_ = new QComboBox(bar_);
    option_->setObjectName(QStringLiteral("ComboBox1"));
    option_->setEditable(true);
    option_->setToolTip(optionHint);
    option_->addItems(options);
    option_->setEditText(initial);
    option_->setMinimumContentsLength(6);
    bar_->addWidget(option_);
    text_ = new QLineEdit(bar_);
    text_->setObjectName(textName);
    text_->setToolTip(textHint);
    text_->setMaximumWidth(text_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 30);
    bar_->addWidget(text_);
}

void ListFrame::addSearchModes(const QStringList& captions, int initial)
{
    bar_->addWidget(searchModes(bar_, captions, initial, modes_));
}

void ListFrame::addStatusPanel(const QString& text)
{
    panels_.push_back(new QLabel(text, status_));
    status_->addWidget(panels_.back());
}

QAction* ListFrame::tool(const QString& name) const
{
    for (QAction* action : bar_->actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

QString ListFrame::statusText(int panel) const
{
    return panel >= 0 && panel < int(panels_.size()) ? panels_[size_t(panel)]->text() : QString();
}

void ListFrame::setStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < int(panels_.size()))
        panels_[size_t(panel)]->setText(text);
}

QGroupBox* ListFrame::searchModes(QWidget* parent, const QStringList& captions, int initial,
                                  std::vector<QRadioButton*>& buttons)
{
    auto* group = new QGroupBox(QStringLiteral("查找方式"), parent);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto* row = new QHBoxLayout(group);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], group);
        button->setChecked(i == initial);
        row->addWidget(button);
        buttons.push_back(button);
    }
    return group;
}

void ListFrame::centre(QWidget& window, const QSize& size)
{
    window.resize(size);
    if (const QScreen* screen = window.screen()) {
        QRect frame(QPoint(), size);
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace lb::ui
