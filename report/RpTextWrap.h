// Breaking a label's text into the lines it prints.
#pragma once

#include <QString>
#include <QStringList>

#include <QtCore/qxpfunctional.h>

namespace lb::report {

// Width of a text in the unit `maxWidth` is given in. Refers to the caller's function, which
// outlives the call; asked for every text a control prints, so no copy of it is made.
using RpMeasure = qxp::function_ref<double(const QString&)>;

// The lines of `text` in a control `maxWidth` wide. Line feeds are dropped; each carriage
// return starts a paragraph. With `autoSize` a paragraph is one line as it stands. Otherwise a
// paragraph is cut into words, a word ending after a space or hyphen, and every CJK character
// being a word of its own; words fill a line while it stays within `maxWidth`. A word too wide
// for a line of its own is cut between characters (a character is never split, nor a surrogate
// pair) and goes on over the following lines, so no text is lost. Without `wordWrap` a
// paragraph is one line, which the control clips. The lines are appended to `lines`, so that a
// control printed for every record keeps one list's memory.
void RpWrapText(const QString& text, double maxWidth, bool autoSize, bool wordWrap, RpMeasure measure,
                QStringList& lines);

// Whether RpWrapText makes `text` a single line as it stands: it holds no line break, and with
// wrapping it fits `maxWidth` (the only measuring this asks for).
bool RpIsOneLine(const QString& text, double maxWidth, bool autoSize, bool wordWrap, RpMeasure measure);

// Whether `c` is a character of the Chinese, Japanese or Korean scripts or their punctuation,
// between which a line may break.
bool RpIsCjk(char32_t c);

} // namespace lb::report
