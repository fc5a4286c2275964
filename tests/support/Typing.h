// Typing into widgets as a keyboard would, one key press per character, and access keys.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QWidget>

// Each character of `text` as its own key press on `widget` (key filters see every one).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

// Alt+`letter` pressed and released in `window`, made the active window first as the user's
// keys go to it, where its keyboard focus is, the letter as the key's text: the window's access
// keys see it before the focused widget does.
// A button's access key shows the button pressed for a moment before clicking it; this returns
// once no button is held down any more, the click done.
inline void pressAccessKey(QWidget* window, char letter)
{
    const QChar upper = QChar::fromLatin1(letter).toUpper();
    const int key = Qt::Key_A + (upper.unicode() - 'A');
    if (QApplication::activeWindow() != window->window())
        QApplication::setActiveWindow(window->window());
    const QPointer<QWidget> target(window->focusWidget() ? window->focusWidget() : window);
    QKeyEvent press(QEvent::KeyPress, key, Qt::AltModifier, upper.toLower());
    QApplication::sendEvent(target, &press);
    if (target) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::AltModifier, upper.toLower());
        QApplication::sendEvent(target, &release);
    }
    const auto held = [] {
        for (QWidget* shown : QApplication::allWidgets())
            if (auto* button = qobject_cast<QAbstractButton*>(shown); button && button->isDown())
                return true;
        return false;
    };
    QElapsedTimer waited;
    waited.start();
    while (held() && waited.elapsed() < 5000) {
        QThread::msleep(5);
        QApplication::processEvents();
    }
}
