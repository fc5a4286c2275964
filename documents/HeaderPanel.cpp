// The labelled header boxes of a document window, laid out from their configuration.
#include "documents/HeaderPanel.h"

#include "platform/db/DataSet.h"
#include "platform/sys/TextFormat.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <algorithm>

namespace lb::documents {

HeaderPanel::HeaderPanel(std::vector<HeaderBox> boxes, int perRow, bool partyButton, QWidget* parent)
    : QWidget(parent), boxes_(std::move(boxes))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int place = 0;
    for (const HeaderBox& entry : boxes_) {
        auto* label = new QLabel(entry.label, this);
        QWidget* widget = nullptr;
        if (entry.style == BoxStyle::Memo) {
            memo_ = new QPlainTextEdit(this);
            memo_->setObjectName(entry.name);
            memo_->setMaximumHeight(2 * fontMetrics().height() + 12);
            widget = memo_;
        } else {
            auto* edit = new QLineEdit(this);
            edit->setObjectName(entry.name);
            edit->setReadOnly(entry.style != BoxStyle::Text);
            edits_[entry.name] = edit;
            widget = edit;
            if (partyButton && entry.name == QLatin1String("Edit2")) {
                auto* cell = new QWidget(this);
                auto* row = new QHBoxLayout(cell);
                row->setContentsMargins(0, 0, 0, 0);
                row->addWidget(edit);
                partyButton_ = new QToolButton(cell);
                partyButton_->setObjectName(QStringLiteral("SpeedButton1"));
                partyButton_->setText(QStringLiteral("…"));
                partyButton_->setToolTip(entry.hint);
                row->addWidget(partyButton_);
                widget = cell;
            }
        }
        widget->setToolTip(entry.hint);
        label->setBuddy(widget);
        label->setVisible(entry.visible);
        widget->setVisible(entry.visible);
        if (!entry.visible)
            continue;
        const int span = std::clamp(entry.span, 1, perRow);
        if (place % perRow + span > perRow)
            place += perRow - place % perRow;
        grid->addWidget(label, place / perRow, 2 * (place % perRow));
        grid->addWidget(widget, place / perRow, 2 * (place % perRow) + 1, 1, 2 * span - 1);
        place += span;
    }
}

QLineEdit* HeaderPanel::box(const QString& name) const
{
    const auto found = edits_.find(name);
    return found == edits_.end() ? nullptr : found->second;
}

QString HeaderPanel::text(const QString& name) const
{
    const QLineEdit* edit = box(name);
    return edit ? edit->text() : QString();
}

void HeaderPanel::setReadOnly(bool readOnly)
{
    for (const auto& [name, edit] : edits_)
        edit->setReadOnly(readOnly);
    if (memo_)
        memo_->setReadOnly(readOnly);
}

QString HeaderPanel::moneyText(double value)
{
    return lb::fmt::floatToStrFixed(value, 10, 2);
}

QString HeaderPanel::quantityText(double value)
{
    return lb::fmt::floatToStrFixed(value, 10, 0);
}

void HeaderPanel::fill(const lb::db::DataSet& header)
{
    for (const HeaderBox& entry : boxes_) {
        if (entry.field.isEmpty())
            continue;
        const lb::db::Field& field = header.fieldByName(entry.field);
        if (entry.style == BoxStyle::Memo)
            memo_->setPlainText(field.asString());
        else if (entry.style == BoxStyle::Money)
            box(entry.name)->setText(moneyText(field.asFloat()));
        else if (entry.style == BoxStyle::Quantity)
            box(entry.name)->setText(quantityText(field.asFloat()));
        else
            box(entry.name)->setText(field.asString());
    }
}

void HeaderPanel::showTotals(const lb::db::DataSet& header)
{
    if (!header.active() || header.isEmpty())
        return;
    for (const HeaderBox& entry : boxes_) {
        if (entry.field.isEmpty() || (entry.style != BoxStyle::Money && entry.style != BoxStyle::Quantity))
            continue;
        const double value = header.fieldByName(entry.field).asFloat();
        box(entry.name)->setText(entry.style == BoxStyle::Money ? moneyText(value) : quantityText(value));
    }
}

} // namespace lb::documents
