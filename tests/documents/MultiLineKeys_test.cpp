// Tab, Shift+Tab and Ctrl+Tab leave the program's note boxes as they leave every other box.
#include "core/Tfrconfig.h"
#include "documents/DocumentWindowFixture.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace {

class MultiLineKeysTest : public DocumentWindowFixture, public ::testing::WithParamInterface<const char*> {
protected:
    // The note box named by the parameter, its window shown and active.
    QPlainTextEdit* openNote()
    {
        if (GetParam() == std::string("sales"))
            return openSalesForm()->Memo1;
        if (alone()) {
            window = std::make_unique<QWidget>();
            auto* note = new QPlainTextEdit(window.get());
            (new QVBoxLayout(window.get()))->addWidget(note);
            window->show();
            QApplication::setActiveWindow(window.get());
            return note;
        }
        auto* options = new lb::core::Tfrconfig(main.get());
        options->showWork();
        QApplication::setActiveWindow(options);
        options->PageControl1->setCurrentIndex(3);
        return options->remarkMemo;
    }

    // A note alone in its window: there is no control to move to.
    bool alone() const { return GetParam() == std::string("alone"); }

    static void press(int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QStringLiteral("\t"));
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }

    std::unique_ptr<QWidget> window;
};

} // namespace

// Each key takes the focus out of the note to the side a plain Tab or Shift+Tab comes back from;
// the note keeps its text, no tab in it, also where it is alone and the focus stays.
TEST_P(MultiLineKeysTest, TabKeysLeaveTheNoteAndTypeNothing)
{
    QPlainTextEdit* note = openNote();
    note->setFocus();
    flush(); // a new sale's party box, left, says its party is unknown: the window is active again after the box
    typeText(note, QStringLiteral("货到付款"));
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    for (const Qt::KeyboardModifiers held : {Qt::KeyboardModifiers(), ctrl}) {
        for (const bool forward : {true, false}) {
            note->setFocus();
            press(forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? held : held | Qt::ShiftModifier);
            if (alone()) {
                EXPECT_EQ(note, QApplication::focusWidget()) << forward << " " << held;
                continue;
            }
            ASSERT_NE(note, QApplication::focusWidget()) << forward << " " << held;
            EXPECT_EQ(note->window(), QApplication::focusWidget()->window());
            press(forward ? Qt::Key_Backtab : Qt::Key_Tab, forward ? Qt::ShiftModifier : Qt::NoModifier);
            EXPECT_EQ(note, QApplication::focusWidget()) << forward << " " << held;
        }
    }
    EXPECT_EQ(QStringLiteral("货到付款"), note->toPlainText());
}

INSTANTIATE_TEST_SUITE_P(NoteBoxes, MultiLineKeysTest, ::testing::Values("sales", "options", "alone"),
                         [](const auto& info) { return std::string(info.param); });
