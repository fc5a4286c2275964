// Base of the text controls: wrapping into lines, stretching over the band, printing the lines.
#pragma once

#include "report/TRpPrintable.h"

#include <QColor>
#include <QStringList>

#include <functional>
#include <utility>

namespace lb::report {

class TRpCustomLabel : public TRpPrintable {
public:
    // Receives the text about to print; may change it for this print.
    using TRpLabelOnPrintEvent = std::function<void(TRpCustomLabel& sender, QString& text)>;

    // The label grows to its text and never wraps.
    bool AutoSize = true;
    // Lines that do not fit grow the band, and continue on the next page when it cannot grow.
    bool AutoStretch = false;
    bool WordWrap = true;
    bool Transparent = false;
    QColor Color = Qt::white;
    bool ParentFont = true;
    TRpLabelOnPrintEvent OnPrint;
    // Memo text of a database text control, one entry per line.
    QStringList Lines;

    const TRpFont& Font() const { return font_; }
    // Sets the control's own font (and clears ParentFont).
    void SetFont(const TRpFont& font);
    const TRpFont& EffectiveFont() const override;

    const QString& Caption() const { return caption_; }
    // The text being printed (the caption, or what a database or expression control produced).
    const QString& PrintCaption() const { return printCaption_; }
    // How many lines the text prints in, as last formatted.
    qsizetype LineCount() const { return wholeCaption_ ? 1 : formattedLines_.size(); }

    // A label whose caption is empty or its old name shows its new name.
    void SetName(const QString& name) override;

    void Prepare() override;
    void Print(double x, double y) override;
    bool Finished() const override { return finished_; }

    // Wraps the print caption (or the memo lines) to the control's width.
    void FormatLines();

protected:
    TRpCustomLabel();
    // Stores the design caption and the print caption together.
    void SetCaptionText(const QString& text);
    // Whether the print caption is the text (false for a memo field, whose Lines are).
    virtual bool CaptionIsSource() const { return true; }
    // Produces the text to print before each print (database and expression controls).
    virtual void ProduceText() {}
    // After the lines printed (the expression control resets its aggregates).
    virtual void AfterPrinting() {}
    // `number`: the text is a formatted number, which prints on one line and whole even where it
    // is wider than the control (a clipped leading digit would print another figure).
    void SetPrintCaption(QString text, bool number = false)
    {
        printCaption_ = std::move(text);
        number_ = number;
    }
    // Line height of the effective font, in tenths of a millimetre.
    double LineHeight() const;

private:
    // FormatLines measuring in `font`.
    void FormatLines(const gfx::EmfFont& font);
    // Width of the widest formatted line in `font`, in tenths of a millimetre.
    double WidestLine(const gfx::EmfFont& font) const;
    // Line `index` of the text as last formatted.
    const QString& PrintedLine(qsizetype index) const { return wholeCaption_ ? printCaption_ : formattedLines_[index]; }
    // The effective font as a page records it, made again only when the font changes.
    const gfx::EmfFont& Measuring() const;

    TRpFont font_;
    QString caption_;
    QString printCaption_;
    // The lines of a text that is broken or split; empty while the print caption is the only
    // line as it stands (wholeCaption_).
    QStringList formattedLines_;
    bool wholeCaption_ = false;
    bool number_ = false;
    int nextLine_ = 0;
    bool finished_ = true;
    mutable TRpFont measuredFont_;
    mutable gfx::EmfFont measuring_ = measuredFont_.Emf();
};

} // namespace lb::report
