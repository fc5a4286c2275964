// The main window's work area: navigator bar, splitter, background picture and dashboard pages.
#include "core/Dashboard.h"

#include "core/PictureButton.h"
#include "platform/ui/GuardSlot.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSplitter>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace lb::core {

Dashboard::Dashboard(QLabel* picture, QWidget* parent)
    : QWidget(parent), Image1(picture)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter = new QSplitter(Qt::Horizontal, this);
    layout->addWidget(splitter);

    Panel1 = new QWidget(splitter);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumWidth(185);
    Panel1->setMaximumWidth(185);
    Panel1->setAutoFillBackground(true);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);
    auto* navigator = new QVBoxLayout(Panel1);
    navigator->setSpacing(12);
    navigator->addStretch();
    for (int i = 0; i < pageCount; ++i)
        navigator->addStretch();

    Panel2 = new QWidget(splitter);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* stack = new QStackedLayout(Panel2);
    stack->setStackingMode(QStackedLayout::StackAll);
    Panel8 = new QWidget(Panel2);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setAutoFillBackground(true);
    auto* dashboard = new QVBoxLayout(Panel8);
    dashboard->setContentsMargins(0, 0, 0, 0);
    Panel6 = new QLabel(QStringLiteral("朔栎进销存→易用、实用、通用，适合各类商场、百货商行的批发+零售......"), Panel8);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setMargin(8);
    Panel6->setAutoFillBackground(true);
    QPalette strip = Panel6->palette();
    strip.setColor(QPalette::Window, QColor(40, 90, 160));
    strip.setColor(QPalette::WindowText, Qt::white);
    Panel6->setPalette(strip);
    QFont stripFont = Panel6->font();
    stripFont.setPixelSize(16);
    stripFont.setBold(true);
    Panel6->setFont(stripFont);
    dashboard->addWidget(Panel6);
    pageArea_ = new QWidget(Panel8);
    auto* pageLayout = new QVBoxLayout(pageArea_);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    dashboard->addWidget(pageArea_, 1);
    Image1->setParent(Panel2);
    stack->addWidget(Image1);
    stack->addWidget(Panel8);
    stack->setCurrentWidget(Panel8);
    Panel8->raise();

    splitter->addWidget(Panel1);
    splitter->addWidget(Panel2);
    splitter->setStretchFactor(1, 1);
    splitter->setCollapsible(0, false);
}

void Dashboard::addPage(int index, const QString& title, const QColor& colour)
{
    Page& page = pages_[size_t(index)];
    page.panel = new QWidget(pageArea_);
    page.panel->setObjectName(QStringLiteral("PAN%1").arg(index + 1));
    page.panel->setMouseTracking(true);
    page.panel->installEventFilter(this);
    auto* layout = new QVBoxLayout(page.panel);
    layout->setContentsMargins(24, 16, 24, 16);
    page.title = new QLabel(title, page.panel);
    QFont titleFont = page.title->font();
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    page.title->setFont(titleFont);
    layout->addWidget(page.title);
    page.buttonRow = new QWidget(page.panel);
    page.buttonRow->setMouseTracking(true);
    page.buttonRow->installEventFilter(this);
    auto* row = new QHBoxLayout(page.buttonRow);
    row->addStretch();
    layout->addWidget(page.buttonRow);
    page.textPanel = new QWidget(page.panel);
    page.textPanel->setMouseTracking(true);
    page.textPanel->installEventFilter(this);
    auto* texts = new QVBoxLayout(page.textPanel);
    texts->setSpacing(10);
    layout->addWidget(page.textPanel);
    layout->addStretch();
    pageArea_->layout()->addWidget(page.panel);
    page.panel->hide();

    auto* button = new PictureButton(title, colour, Panel1);
    navigator_[size_t(index)] = button;
    // Stretches and buttons alternate in the bar: the button goes after the index-th stretch.
    static_cast<QVBoxLayout*>(Panel1->layout())->insertWidget(2 * index + 1, button, 0, Qt::AlignHCenter);
    connect(button, &PictureButton::clicked, this, lb::ui::guardSlot(this, [this, index] { selectPage(index); }));
}

QString Dashboard::pageTitle(int page) const
{
    return pages_[size_t(page)].title->text();
}

PictureButton* Dashboard::addButton(int index, const QString& caption, const QColor& colour)
{
    Page& page = pages_[size_t(index)];
    auto* button = new PictureButton(caption, colour, page.buttonRow);
    auto* row = static_cast<QHBoxLayout*>(page.buttonRow->layout());
    row->insertWidget(row->count() - 1, button);
    page.buttons.push_back(button);
    return button;
}

QLabel* Dashboard::addLink(int index, const QString& text, std::function<void()> run)
{
    QLabel* link = addNote(index, text);
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
    Page& page = pages_[size_t(index)];
    page.links.push_back(link);
    page.runs.push_back(std::move(run));
    return link;
}

QLabel* Dashboard::addNote(int index, const QString& text)
{
    Page& page = pages_[size_t(index)];
    auto* label = new QLabel(text, page.textPanel);
    QFont font = label->font();
    font.setPixelSize(15);
    label->setFont(font);
    label->setMouseTracking(true);
    page.textPanel->layout()->addWidget(label);
    page.texts.push_back(label);
    return label;
}

void Dashboard::selectPage(int index)
{
    for (int i = 0; i < pageCount; ++i) {
        if (pages_[size_t(i)].panel)
            pages_[size_t(i)].panel->setVisible(i == index);
        if (navigator_[size_t(i)])
            navigator_[size_t(i)]->setTabStyle(i == index);
    }
    current_ = index;
}

void Dashboard::setNavigatorVisible(bool visible)
{
    Panel1->setVisible(visible);
    Panel8->setVisible(visible);
    splitter->handle(1)->setVisible(visible);
}

bool Dashboard::navigatorVisible() const
{
    return !Panel1->isHidden();
}

void Dashboard::setLinkColour(QLabel* link, bool hot)
{
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, hot ? QColor(Qt::red) : this->palette().color(QPalette::WindowText));
    link->setPalette(palette);
}

bool Dashboard::eventFilter(QObject* watched, QEvent* event)
{
    const bool moved = event->type() == QEvent::MouseMove;
    if (watched == Panel1 && moved) {
        for (PictureButton* button : navigator_)
            if (button)
                button->setHighlighted(false);
    }
    for (Page& page : pages_) {
        if (moved && (watched == page.panel || watched == page.buttonRow)) {
            for (PictureButton* button : page.buttons)
                button->setHighlighted(false);
        }
        if (moved && watched == page.textPanel) {
            for (QLabel* link : page.links)
                setLinkColour(link, false);
        }
        for (size_t i = 0; i < page.links.size(); ++i) {
            if (watched != page.links[i])
                continue;
            if (moved || event->type() == QEvent::Enter) {
                setLinkColour(page.links[i], true);
                // Handled here: passed on, the move would reach the panel behind and undo it.
                return moved;
            }
            if (event->type() == QEvent::MouseButtonRelease
                     && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && page.links[i]->isEnabled())
                page.runs[i]();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lb::core
