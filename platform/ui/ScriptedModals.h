// Acts on modal windows in tests: each step receives the dialog while its modal loop runs.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>

class QDialog;

namespace lb::ui {

// Installs itself for its lifetime (the innermost one wins) and records the title of every
// modal window that Modal::exec shows.
class ScriptedModals {
public:
    using Step = std::function<void(QDialog&)>;
    ScriptedModals();
    ~ScriptedModals();
    ScriptedModals(const ScriptedModals&) = delete;
    ScriptedModals& operator=(const ScriptedModals&) = delete;

    // Queues what to do with the next modal window (fill it in, press its buttons).
    ScriptedModals& then(Step step);
    const QStringList& titles() const { return titles_; }
    // Windows shown with no step left (rejected at once).
    int unanswered() const { return unanswered_; }
    int pending() const { return int(steps_.size()); }

    static ScriptedModals* current();
    // For Modal::exec: the step for a window being shown, or an empty function.
    Step take(const QDialog& dialog);

private:
    std::deque<Step> steps_;
    QStringList titles_;
    int unanswered_ = 0;
    ScriptedModals* previous_ = nullptr;
};

} // namespace lb::ui
