// Key filters on edit boxes: typed keys, pasted text and input method commits.
#include "platform/ui/KeyFilter.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

using lb::ui::KeyFilter;

namespace {

void typeKey(QWidget& widget, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &press);
}

void typeText(QWidget& widget, const QString& text)
{
    for (const QChar c : text)
        typeKey(widget, c.toUpper().unicode(), QString(c));
}

void commit(QWidget& widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(&widget, &event);
}

struct FilterCase {
    KeyFilter::Allowed allowed;
    const char* typed;
    const char* kept;
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << int(c.allowed) << " / " << c.typed; }

class KeyFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(KeyFilterTest, keepsOnlyTheAllowedCharactersTypedOrCommitted)
{
    const FilterCase& c = GetParam();
    QLineEdit typed;
    KeyFilter::install(&typed, c.allowed);
    typeText(typed, QString::fromUtf8(c.typed));
    EXPECT_EQ(QString::fromUtf8(c.kept), typed.text());

    QLineEdit committed;
    KeyFilter::install(&committed, c.allowed);
    commit(committed, QString::fromUtf8(c.typed));
    EXPECT_EQ(QString::fromUtf8(c.kept), committed.text());
}

INSTANTIATE_TEST_SUITE_P(Sets, KeyFilterTest, ::testing::Values(
    FilterCase{KeyFilter::Allowed::Digits, "12a3 -.x", "123"},
    FilterCase{KeyFilter::Allowed::Digits, "０１２号", ""},   // full-width digits and Chinese are not digits
    FilterCase{KeyFilter::Allowed::DigitsAndMinus, "0571-8888 abc", "0571-8888"},
    FilterCase{KeyFilter::Allowed::DigitsAndPoint, "-12.50元", "12.50"},
    FilterCase{KeyFilter::Allowed::DigitsAndPoint, "1..2", "1..2"}));

TEST(KeyFilter, editingKeysStillWork)
{
    QLineEdit edit;
    KeyFilter::install(&edit, KeyFilter::Allowed::Digits);
    typeText(edit, "123");
    typeKey(edit, Qt::Key_Backspace, "\b");
    EXPECT_EQ(QString("12"), edit.text());
    typeKey(edit, Qt::Key_Left, QString());
    typeKey(edit, Qt::Key_Delete, QString());
    EXPECT_EQ(QString("1"), edit.text());
}

TEST(KeyFilter, pasteOfTextWithForbiddenCharactersIsDropped)
{
    QClipboard* clipboard = QApplication::clipboard();
    QLineEdit edit;
    KeyFilter::install(&edit, KeyFilter::Allowed::Digits);
    clipboard->setText("12ab");
    typeKey(edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    EXPECT_EQ(QString(), edit.text());
    clipboard->setText("345");
    typeKey(edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    EXPECT_EQ(QString("345"), edit.text());
}

} // namespace
