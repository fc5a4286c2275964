// A stand-in for an entry form or a summary that opens pickers: boxes, header and lines.
#pragma once

#include "masterdata/PickTarget.h"
#include "platform/db/Query.h"

#include <QLineEdit>
#include <QWidget>

class FakeOpener : public QWidget, public lb::masterdata::PickTarget {
public:
    explicit FakeOpener(lb::db::Connection& connection)
        : header(connection), lines(connection)
    {
        for (QLineEdit** box : {&edit2, &edit3, &edit9, &edit10, &edit16})
            *box = new QLineEdit(this);
        header.sql().add(QStringLiteral("select * from outlist"));
        lines.sql().add(QStringLiteral("select * from outdetail order by intno"));
    }

    QWidget* pickWindow() override { return this; }
    QLineEdit* pickBox(lb::masterdata::PickBox box) override
    {
        switch (box) {
        case lb::masterdata::PickBox::Edit2: return edit2;
        case lb::masterdata::PickBox::Edit3: return edit3;
        case lb::masterdata::PickBox::Edit9: return edit9;
        case lb::masterdata::PickBox::Edit10: return edit10;
        case lb::masterdata::PickBox::Edit16: return edit16;
        case lb::masterdata::PickBox::None: break;
        }
        return nullptr;
    }
    lb::db::DataSet* pickHeader() override { return &header; }
    lb::db::DataSet* pickLines() override { return &lines; }

    QLineEdit* edit2 = nullptr;
    QLineEdit* edit3 = nullptr;
    QLineEdit* edit9 = nullptr;
    QLineEdit* edit10 = nullptr;
    QLineEdit* edit16 = nullptr;
    lb::db::Query header;
    lb::db::Query lines;
};
