// Base of the program's work windows: top-level, deleted on close, disabling their opener.
#pragma once

#include "platform/ui/GuardSlot.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace lb::ui {

// A work window has no Qt parent (a disabled parent would disable it too) and deletes itself
// when it closes. While it is open its opener is disabled; closing it, by any path, enables
// the opener again, with the focus in the control of the opener's window that had it (disabling
// the window took it away), and brings it to the front. A window with a way out of its own (退回) is
// left only through it: a close that is not the way out itself (the window manager's close box
// or key, close() called from code) runs it, so that nothing typed is lost. Every command of a
// window, its way out among them, and every close of a window without one first takes what the
// clerk is typing into the window's editable grids (takeTyping). Keep global instances in
// QPointer.
class WorkWindow : public QWidget {
    Q_OBJECT
public:
    // `opener` may be nullptr (a window opened by nothing) and may die first.
    explicit WorkWindow(QWidget* opener = nullptr);
    ~WorkWindow() override;

    QWidget* opener() const { return opener_; }

    // Disables the opener (unless told not to) and shows this window modeless, transient for
    // the opener's window so that the window manager keeps it above that window.
    void showWork(bool disableOpener = true);
    // Makes showWork centre this window over `over`'s window (nullptr: on the screen).
    void centreWhenShown(QWidget* over);

    // Takes what the clerk is typing into the window's editable grids into their rows and
    // stores them (DataGrid::takeTyping). False when a grid refused a value (it said so);
    // throws the store's error when a row cannot be stored, what was typed still on screen.
    bool takeTyping();

    // Ends every open work window, for the end of the program, each before the window that
    // opened it (a form before the list it was opened from): its way out runs (a window
    // without one takes the typing), what fails there goes to the error handler, and the
    // window closes whatever the way out did; nothing it does keeps it open. Then every other
    // window shown closes (a dialog is rejected), but for `keep` (the main window).
    static void endAll(QWidget* keep);

signals:
    // Sent once, after the close hooks and before the opener is enabled.
    void closed();

protected:
    // `run` as a command of this window, to connect to a button, an item or a key: the typing
    // taken first (takeTyping), the command not run when it cannot be; an error goes to the
    // error handler (guardSlot).
    template <class Command>
    auto command(Command run)
    {
        return guardSlot(this, [this, run = std::move(run)]() mutable {
            if (takeTyping())
                run();
        });
    }
    // The window's own way out, empty for a window without one: one of the window's commands,
    // which takes the typing first. It ends by leave(), or refuses (a message, an error) and
    // the window stays open.
    virtual std::function<void()> wayOut() { return {}; }
    // Closes the window as its own commands end it (the way out, or a posting that ends the
    // window): the way out does not run again.
    void leave();
    // Asked before closing; false keeps the window open.
    virtual bool canClose() { return true; }
    // Runs once when the window closes (release datasets, point shared queries back); an error
    // goes to the error handler and the window closes all the same.
    virtual void onClosing() {}
    void closeEvent(QCloseEvent* event) override;

private:
    void finish();
    // For endAll: the way out, or the typing taken, then the window closed in any case.
    void end();

    // Gives the opener back: enabled, the focus where it was, in front.
    void enableOpener();

    QPointer<QWidget> opener_;
    QPointer<QWidget> openerFocus_; // the control of the opener's window with the focus when it was disabled
    QPointer<QWidget> centreOver_;
    bool centre_ = false;
    bool disabledOpener_ = false;
    bool finished_ = false;
    bool leaving_ = false;      // leave() is closing the window
    bool inWayOut_ = false;     // a close runs the way out
    bool wayOutLeft_ = false;   // ... and the way out called leave()
    bool ending_ = false;       // the program is ending the window: nothing keeps it open
};

} // namespace lb::ui
