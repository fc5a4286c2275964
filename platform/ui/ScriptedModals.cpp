// Acts on modal windows in tests: each step receives the dialog while its modal loop runs.
#include "platform/ui/ScriptedModals.h"

#include <QDialog>

namespace lb::ui {

namespace {
ScriptedModals* installed = nullptr;
}

ScriptedModals::ScriptedModals() : previous_(installed) { installed = this; }

ScriptedModals::~ScriptedModals() { installed = previous_; }

ScriptedModals& ScriptedModals::then(Step step)
{
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedModals* ScriptedModals::current() { return installed; }

ScriptedModals::Step ScriptedModals::take(const QDialog& dialog)
{
    titles_ << dialog.windowTitle();
    if (steps_.empty()) {
        ++unanswered_;
        return Step();
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    return step;
}

} // namespace lb::ui
