// A field of a dataset's current row, printed as text.
#pragma once

#include "report/TRpCustomLabel.h"

namespace lb::db {
class DataSet;
class Field;
}

namespace lb::report {

class TRpDBText : public TRpCustomLabel {
public:
    TRpDBText() = default;

    db::DataSet* DataSet() const { return dataSet_; }
    // Not owned; the layout keeps its datasets alive as long as the report.
    void SetDataSet(db::DataSet* dataSet) { dataSet_ = dataSet; }
    const QString& DataField() const { return dataField_; }
    // The layout shows the field name as the caption. An empty name prints nothing.
    void SetDataField(const QString& field);
    // A display mask for number and date fields ("0.00", "yyyy-mm-dd"); text fields ignore it.
    QString Mask;

    void Prepare() override;
    void Unprepare() override;
    // The lines of the current text times the line height.
    double NeededHeight() override;

protected:
    bool CaptionIsSource() const override { return !memo_; }
    void ProduceText() override;

private:
    db::Field* CurrentField() const;

    db::DataSet* dataSet_ = nullptr;
    QString dataField_;
    int fieldIndex_ = -1;
    // The name of the field found at fieldIndex_, held while the run lasts.
    QString foundName_;
    bool memo_ = false;
};

} // namespace lb::report
