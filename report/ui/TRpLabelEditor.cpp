// Label editor: the control's properties in and out of its dialog, changed ones only.
#include "report/ui/TRpLabelEditor.h"

#include "platform/sys/TextFormat.h"
#include "platform/ui/Modal.h"
#include "report/TRpLabel.h"
#include "report/ui/TRpLabelEditorForm.h"

#include <QCheckBox>
#include <QLineEdit>

namespace lb::report::ui {

QColor TRpLabelEditor::Color() const
{
    return control_.Color;
}

TRpFont TRpLabelEditor::Font() const
{
    return control_.EffectiveFont();
}

QString TRpLabelEditor::ValueText() const
{
    return control_.Caption();
}

bool TRpLabelEditor::AlignToBand() const
{
    return control_.AlignToBand();
}

void TRpLabelEditor::SetAlignToBand(bool align)
{
    control_.SetAlignToBand(align);
}

void TRpLabelEditor::SetColor(const QColor& color)
{
    control_.Color = color;
}

void TRpLabelEditor::SetFont(const TRpFont& font)
{
    control_.SetFont(font);
}

void TRpLabelEditor::SetValueText(const QString& text)
{
    if (auto* label = dynamic_cast<TRpLabel*>(&control_))
        label->SetCaption(text);
}

void TRpLabelEditor::Fill(TRpLabelEditorForm& form) const
{
    form.Value->setText(ValueText());
    form.Width->setText(fmt::floatToStr(control_.Size().Width()));
    form.Height->setText(fmt::floatToStr(control_.Size().Height()));
    form.AutoSize->setChecked(control_.AutoSize);
    form.Stretch->setChecked(control_.AutoStretch);
    form.Transparent->setChecked(control_.Transparent);
}

void TRpLabelEditor::Apply(const TRpLabelEditorForm& form)
{
    if (form.Value->text() != ValueText())
        SetValueText(form.Value->text());
    // A size shown rounded and left as it was keeps its exact stored value.
    if (form.Width->text() != fmt::floatToStr(control_.Size().Width()))
        control_.Size().SetWidth(form.WidthValue());
    if (form.Height->text() != fmt::floatToStr(control_.Size().Height()))
        control_.Size().SetHeight(form.HeightValue());
    control_.AutoSize = form.AutoSize->isChecked();
    control_.AutoStretch = form.Stretch->isChecked();
    control_.Transparent = form.Transparent->isChecked();
}

bool TRpLabelEditor::Edit(QWidget* parent)
{
    TRpLabelEditorForm form(parent);
    Fill(form);
    if (lb::ui::Modal::exec(form) != QDialog::Accepted)
        return false;
    Apply(form);
    return true;
}

} // namespace lb::report::ui
