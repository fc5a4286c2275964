// A test fixture with the main window made over a fresh database and a helper that runs its
// first showing through a successful administrator log-in.
#pragma once

#include "CoreFixture.h"

#include "core/TFrpassword.h"
#include "core/Tfrmain.h"
#include "platform/ui/ScriptedModals.h"

#include <QComboBox>
#include <QLineEdit>
#include <memory>

// Logs in as "999" with the factory password.
inline void logInAsAdministrator(QDialog& dialog)
{
    auto& window = dynamic_cast<lb::core::TFrpassword&>(dialog);
    window.ComboBox1->setEditText(QStringLiteral("999"));
    window.Edit1->setText(QStringLiteral("888"));
    window.BokClick();
}

class MainWindowFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        // Quiet defaults: no splash, no quick-start; tests that want them switch them on.
        exec(QStringLiteral("update config set flashbj=0, startbj=1"));
        window = std::make_unique<lb::core::Tfrmain>();
        frmain = window.get();
    }

    void TearDown() override
    {
        window.reset();
        CoreFixture::TearDown();
    }

    // The first showing with a successful administrator log-in.
    void start()
    {
        lb::ui::ScriptedModals modals;
        modals.then(logInAsAdministrator);
        window->show();
        ASSERT_EQ(0, modals.pending());
        ASSERT_FALSE(window->terminated());
    }

    std::unique_ptr<lb::core::Tfrmain> window;
};
