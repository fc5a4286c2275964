// A one-line box that the keyboard or the program puts the focus in has its whole text selected.
#pragma once

class QEvent;
class QObject;

namespace lb::ui {

// Typing replaces the text of a box the focus was put in, as in the desktop's own boxes: a
// one-line box (an editable combo box's too), masked or not, that takes the focus for any
// reason but a mouse click has its whole text selected, the cursor at its first position, where
// a masked box takes what is typed. A click leaves the cursor where it was clicked. A box that
// gave up the focus only while a pop-up was open or its window was inactive (a message box, a
// picker, another program) gets it back as it was, its cursor and selection kept.
class FocusSelection {
public:
    // Called by the application object for every focus change, once `event` reached `receiver`
    // and its own handling (a QLineEdit's placing of the cursor) is done.
    static void delivered(QObject& receiver, const QEvent& event);
};

} // namespace lb::ui
