// Master-data fixture with a main window for the shared fields, and helpers to drive windows.
#pragma once

#include "core/Tfrmain.h"
#include "masterdata/MasterDataFixture.h"
#include "masterdata/MasterEditor.h"
#include "masterdata/MasterListWindow.h"

#include "platform/ui/DataGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QLineEdit>
#include "platform/ui/ScriptedModals.h"

class MasterWindowFixture : public MasterDataFixture {
protected:
    void SetUp() override
    {
        MasterDataFixture::SetUp();
        main = std::make_unique<lb::core::Tfrmain>();
        frmain = main.get();
        main->OperatorNo = QStringLiteral("999");
        main->OperatorPassword = QStringLiteral("pw");
    }

    void TearDown() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != main.get() && window->isVisible())
                window->close();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.reset();
        MasterDataFixture::TearDown();
    }

    // The editor a list opened (the newest visible one).
    static lb::masterdata::MasterEditor* openEditor()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* editor = qobject_cast<lb::masterdata::MasterEditor*>(window); editor && editor->isVisible())
                return editor;
        }
        return nullptr;
    }

    // Puts the grid on the row and column of a field, as a click would.
    static void selectCell(lb::masterdata::MasterListWindow& list, int row, const QString& field)
    {
        const int column = list.DBGrid1->gridModel()->columnOf(field);
        list.DBGrid1->setCurrentIndex(list.DBGrid1->model()->index(row, column));
    }

    static void flush() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    lb::ui::ScriptedModals modals; // a modal window nobody expects is rejected at once
    std::unique_ptr<lb::core::Tfrmain> main;
};
