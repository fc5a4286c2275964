// The main window's work area: navigator bar, splitter, background picture and dashboard pages.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QSplitter;

namespace lb::core {

class PictureButton;

// Left, the navigator bar Panel1 (185 pixels, one picture button per page); then a splitter and
// the work area Panel2, which holds the background picture stretched over it and, above the
// picture, the dashboard Panel8: a top strip (Panel6) and the pages PAN1 to PAN4, one shown at
// a time. Each page holds picture buttons and texts; link texts run a command when clicked.
// Hiding the navigator hides the bar, the splitter handle and the dashboard, leaving the picture
// alone in the work area.
class Dashboard : public QWidget {
    Q_OBJECT
public:
    static constexpr int pageCount = 4;

    // `picture` (the main window's background picture) moves into the work area.
    Dashboard(QLabel* picture, QWidget* parent = nullptr);

    // Page `page` (0 to 3) with its navigator button.
    void addPage(int page, const QString& title, const QColor& colour);
    PictureButton* navigatorButton(int page) const { return navigator_[size_t(page)]; }
    QWidget* page(int page) const { return pages_[size_t(page)].panel; }
    QString pageTitle(int page) const;

    // A picture button on a page; connect its clicked() to the command.
    PictureButton* addButton(int page, const QString& caption, const QColor& colour);
    // A text that runs `run` when clicked, red while the mouse is over it.
    QLabel* addLink(int page, const QString& text, std::function<void()> run);
    // A descriptive text, not clickable.
    QLabel* addNote(int page, const QString& text);
    const std::vector<QLabel*>& texts(int page) const { return pages_[size_t(page)].texts; }
    const std::vector<PictureButton*>& buttons(int page) const { return pages_[size_t(page)].buttons; }

    // Shows `page` filling the dashboard, hides the others, marks its navigator button.
    void selectPage(int page);
    int currentPage() const { return current_; }

    void setNavigatorVisible(bool visible);
    bool navigatorVisible() const;

    QWidget* Panel1 = nullptr;  // navigator bar
    QSplitter* splitter = nullptr;
    QWidget* Panel2 = nullptr;  // work area
    QWidget* Panel8 = nullptr;  // dashboard
    QLabel* Panel6 = nullptr;   // top strip
    QLabel* Image1 = nullptr;   // background picture

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page {
        QWidget* panel = nullptr;
        QLabel* title = nullptr;
        QWidget* buttonRow = nullptr;
        QWidget* textPanel = nullptr;
        std::vector<PictureButton*> buttons;
        std::vector<QLabel*> texts;
        std::vector<QLabel*> links;
        std::vector<std::function<void()>> runs;
    };
    void setLinkColour(QLabel* link, bool hot);

    std::vector<PictureButton*> navigator_{pageCount, nullptr};
    std::vector<Page> pages_{pageCount};
    QWidget* pageArea_ = nullptr;
    int current_ = -1;
};

} // namespace lb::core
