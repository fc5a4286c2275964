// Fixture of the document window tests: documents with a main window, the date picker,
// scripted boxes and modal windows, and helpers that act on the entry form as a user would.
#pragma once

#include "core/Tfrmain.h"
#include "core/Tfrpickdate.h"
#include "documents/DocumentCatalog.h"
#include "documents/DocumentEntryForm.h"
#include "documents/DocumentFixture.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedModals.h"
#include "platform/ui/WorkWindow.h"
#include "support/ReportedErrors.h"
#include "support/Typing.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>

class DocumentWindowFixture : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        main = std::make_unique<lb::core::Tfrmain>();
        frmain = main.get();
        main->OperatorNo = QStringLiteral("999");
        datePicker = std::make_unique<lb::core::Tfrpickdate>();
        frpickdate = datePicker.get();
        // Boxes take the window's activation while they are shown, as real ones do.
        dialogs.takeActivation(true);
    }

    void TearDown() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != main.get() && window->isVisible())
                window->close();
        }
        flush();
        // A form whose 退回 cannot store its document stays open when closed: it goes with its
        // test, not into the next one.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<lb::ui::WorkWindow*>(window) && window->isVisible())
                window->deleteLater();
        }
        flush();
        datePicker.reset();
        main.reset();
        DocumentFixture::TearDown();
    }

    static void flush()
    {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A sales entry form opened over the main window: a new document when `newBill`, otherwise
    // the one CurrentBillNo names.
    lb::documents::DocumentEntryForm* openSalesForm(bool newBill = true, const QString& intno = QString())
    {
        return openEntryForm(lb::documents::DocumentCatalog::salesEntryForm(), newBill, intno);
    }

    // The same for the entry form of any kind.
    lb::documents::DocumentEntryForm* openEntryForm(const lb::documents::EntryFormConfig& config, bool newBill = true,
                                                    const QString& intno = QString())
    {
        main->NewBillFlag = newBill;
        if (!newBill)
            main->CurrentBillNo = intno;
        auto* form = new lb::documents::DocumentEntryForm(config, main.get());
        form->showWork(true);
        QApplication::setActiveWindow(form);
        flush();
        return form;
    }

    // The shown window of class W named `name`; nullptr when there is none.
    template <class W>
    static W* top(const QString& name)
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(window); found && found->isVisible() && found->objectName() == name)
                return found;
        return nullptr;
    }

    // Types a value into a cell of the line grid and commits it, as a user does.
    static void typeCell(lb::documents::DocumentEntryForm& form, int row, int column, const QString& value)
    {
        const QModelIndex index = form.DBGrid1->model()->index(row, column);
        form.DBGrid1->setCurrentIndex(index);
        form.DBGrid1->model()->setData(index, value, Qt::EditRole);
        flush();
    }

    static QString cell(lb::documents::DocumentEntryForm& form, int row, int column)
    {
        return form.DBGrid1->model()->index(row, column).data(Qt::DisplayRole).toString();
    }

    static void pressEnter(QWidget* widget)
    {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(widget, &enter);
        flush();
    }

    // Puts the code into the code box and presses Enter there.
    static void enterCode(lb::documents::DocumentEntryForm& form, const QString& code)
    {
        form.Edit12->setFocus();
        form.Edit12->setText(code);
        pressEnter(form.Edit12);
    }

    std::unique_ptr<lb::core::Tfrmain> main;
    std::unique_ptr<lb::core::Tfrpickdate> datePicker;
    lb::ui::ScriptedModals modals;
    ReportedErrors errors;
};
