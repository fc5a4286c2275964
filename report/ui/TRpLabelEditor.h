// The design-time editor of a label: the properties a design tool offers, and its dialog.
#pragma once

#include "report/TRpFont.h"

#include <QColor>
#include <QString>

class QWidget;

namespace lb::report {
class TRpCustomLabel;
class TRpLabel;
}

namespace lb::report::ui {

class TRpLabelEditorForm;

class TRpLabelEditor {
public:
    // `control` is not owned and must outlive the editor.
    explicit TRpLabelEditor(TRpCustomLabel& control) : control_(control) {}
    virtual ~TRpLabelEditor() = default;

    QColor Color() const;
    TRpFont Font() const;
    virtual QString EditedClass() const { return QStringLiteral("TRpLabel"); }
    // The text the dialog edits: the caption.
    virtual QString ValueText() const;
    virtual QString ControlName() const { return QStringLiteral("RPLABEL"); }
    virtual QString Description() const { return QStringLiteral("Text Control"); }
    bool AlignToBand() const;
    void SetAlignToBand(bool align);
    void SetColor(const QColor& color);
    void SetFont(const TRpFont& font);
    virtual void SetValueText(const QString& text);

    // The dialog, filled from the control; on OK the changed values go back to it (sizes in
    // the report's units, decimals allowed). Answers whether OK was chosen.
    virtual bool Edit(QWidget* parent);

protected:
    void Fill(TRpLabelEditorForm& form) const;
    void Apply(const TRpLabelEditorForm& form);
    TRpCustomLabel& control_;
};

} // namespace lb::report::ui
