// The data module: the program's one database connection and every shared dataset.
#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"

#include <QObject>
#include <QPointer>

namespace lb::core {

// One instance (`frdm`) lives from start-up to the main window's close. Windows never open
// connections of their own: they re-point these datasets by replacing their SQL text, or run
// statements through AQcom (close, clear, add text, set parameters, execute, close).
//
// Every dataset except AQcom, AQcom1 and AQproductxls carries persistent fields: the columns
// of its table as the schema declares them, with their labels and design-time display formats.
// Opening one whose table lacks a column fails with DatabaseError; the schema upgrade relies
// on that.
//
// The datasets are owned by the module (Qt children) and live as long as it does.
class Tfrdm : public QObject {
    Q_OBJECT
public:
    explicit Tfrdm(QObject* parent = nullptr);
    ~Tfrdm() override; // closes the connection before the datasets go

    // The connection. Its file is set by whoever connects it (start-up: AppPaths::databaseFile()).
    lb::db::Connection ADOCon;

    lb::db::Query* const AQcom;        // scratch query, no persistent fields
    lb::db::Query* const AQcom1;       // second scratch query of the entry forms
    lb::db::Query* const Aqproduct;
    lb::db::Table* const ATproduct;    // product columns without pintno, orderid, barcode
    lb::db::Query* const AQproductxls; // fields follow its SQL
    lb::db::Query* const Aqcustomer;   // master of Aqcproduct (DataSource1)
    lb::db::Query* const AQbranch;
    lb::db::Query* const AQbank;
    lb::db::Query* const AQemployee;
    lb::db::Query* const AQstore;
    lb::db::Query* const Aqcproduct;   // parameter intno follows Aqcustomer's current row
    lb::db::Table* const Atcproduct;
    lb::db::Query* const AQoutlist;    // the current document header (26 header columns)
    lb::db::Query* const AQoutdetail;  // the current document's lines (29 line columns)
    lb::db::Query* const AQdetail;     // read-only line rows of the product history
    lb::db::Query* const AQtotallist;  // first 22 header columns
    lb::db::Table* const ATtotallist1;
    lb::db::Table* const ATcusttotal1;
    lb::db::Table* const ATdateconfig;
    lb::db::Table* const ATcompany;
    lb::db::Table* const ATCONFIG;
    lb::db::Table* const ATopcrl;
    lb::db::Table* const atnextno;
    lb::db::Table* const ATapperror;
    lb::db::Query* const AQexport;
    lb::db::Query* const AQpackage;
    lb::db::Query* const AQunits;
    lb::db::Query* const AQprobranch;
    lb::db::Query* const AQproducttv;
    lb::db::Query* const Aqcustomertv;

    // Gives the number fields of the shared datasets the display formats stored in the options
    // row (amountformat, qtyformat, priceformat). Opens ATCONFIG for the read and closes it.
    // Called at start-up and after the options are saved.
    void applyDisplayFormats();

private:
    void declareFields();
    void installTextHandlers();
    void installDeleteConfirmations();
};

} // namespace lb::core

// The one data module; null before start-up creates it and after it is freed.
extern QPointer<lb::core::Tfrdm> frdm;
