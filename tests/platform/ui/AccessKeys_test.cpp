// Alt with a letter, Shift held or not, in a window that opts into nothing: an access key or
// nothing, never text.
#include "support/Typing.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(AccessKeys, EveryLetterFromAToZIsAKeyOrNothingButAPopUpMenuKeepsItsLetters)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new QLineEdit(&window);
    auto* post = new QPushButton(QStringLiteral("过帐&O"), &window);
    layout->addWidget(box);
    layout->addWidget(post);
    int posted = 0;
    QObject::connect(post, &QPushButton::clicked, [&posted] { ++posted; });
    window.show();
    box->setFocus();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        pressAccessKey(&window, letter);
        EXPECT_EQ(QString(), box->text()) << letter;
        EXPECT_EQ(letter >= 'O' ? 1 : 0, posted) << letter;
    }
    // Shift held with Alt makes it no text either: the capital letter is not typed.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (letter - 'A'), Qt::AltModifier | Qt::ShiftModifier, QString(QChar::fromLatin1(letter)));
        QApplication::sendEvent(box, &press);
        EXPECT_EQ(QString(), box->text()) << letter;
    }

    // An open menu picks its item by the letter, Alt held or not.
    QMenu menu;
    bool copied = false;
    QObject::connect(menu.addAction(QStringLiteral("转抄&X")), &QAction::triggered, [&copied] { copied = true; });
    menu.popup(window.geometry().center());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier, QStringLiteral("x"));
    QApplication::sendEvent(&menu, &press);
    EXPECT_TRUE(copied);
}
