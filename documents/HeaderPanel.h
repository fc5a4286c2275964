// The labelled header boxes of a document window, laid out from their configuration.
#pragma once

#include "documents/DocumentWindowConfig.h"

#include <QWidget>
#include <map>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace lb::db {
class DataSet;
}

namespace lb::documents {

// Boxes in rows of `perRow` label-and-box places (a box may take several, and starts a new
// row when its places do not fit); hidden boxes take no place. The entry forms
// and the posted views show a document's header in it.
class HeaderPanel : public QWidget {
    Q_OBJECT
public:
    // With `partyButton`, the box Edit2 carries a "…" button (SpeedButton1) whose hint is the box's.
    HeaderPanel(std::vector<HeaderBox> boxes, int perRow, bool partyButton, QWidget* parent);

    QLineEdit* box(const QString& name) const; // nullptr when the panel has none
    QPlainTextEdit* memo() const { return memo_; }
    QToolButton* partyButton() const { return partyButton_; }
    QString text(const QString& name) const;   // empty when the panel has no such box
    void setReadOnly(bool readOnly);           // every box

    // Every box that mirrors a header field shows it: money with two decimals, quantities
    // without, dates as "yyyy-mm-dd".
    void fill(const lb::db::DataSet& header);
    // Only the money and quantity boxes.
    void showTotals(const lb::db::DataSet& header);

    // The text of a money or quantity box (fixed point, ten significant digits).
    static QString moneyText(double value);
    static QString quantityText(double value);

private:
    std::vector<HeaderBox> boxes_;
    std::map<QString, QLineEdit*> edits_;
    QPlainTextEdit* memo_ = nullptr;
    QToolButton* partyButton_ = nullptr;
};

} // namespace lb::documents
