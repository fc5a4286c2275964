// A picture button of the main window's dashboard and navigator bar.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QStackedWidget>
#include <QString>

class QLabel;

namespace lb::core {

// Two sheets: the normal picture, and the highlighted one with the hand cursor. Moving the
// mouse over the normal picture shows the highlighted one; only a click on the highlighted
// picture sends clicked(). Whoever holds the button turns it back to normal (the panel behind
// the buttons does so when the mouse moves over it).
class PictureButton : public QStackedWidget {
    Q_OBJECT
public:
    PictureButton(const QString& caption, const QColor& colour, QWidget* parent = nullptr);

    const QString& caption() const { return caption_; }
    bool highlighted() const { return currentIndex() == 1; }
    void setHighlighted(bool highlighted);
    // The tab style marks the navigator button of the page shown; the others are flat.
    void setTabStyle(bool tabStyle);
    bool tabStyle() const { return tabStyle_; }

    // The pictures: a rounded tile in `colour` with the caption's first character as a symbol
    // and, when `withCaption`, the caption written under it.
    static QPixmap picture(const QString& caption, const QColor& colour, bool highlighted, bool withCaption = true);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString caption_;
    QLabel* normal_ = nullptr;
    QLabel* hot_ = nullptr;
    bool tabStyle_ = false;
};

} // namespace lb::core
