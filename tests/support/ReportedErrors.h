// Collects what reaches the program's error handler during a test, in place of the error form.
#pragma once

#include "platform/ui/LbApplication.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <exception>
#include <vector>

// Installs itself as the error handler for its lifetime (and removes any handler on leaving).
// Each report keeps the error in flight, so that a test can ask for its kind.
class ReportedErrors {
public:
    struct Report {
        QPointer<QObject> sender;
        QString message; // as the error form shows it: the cause, when there is one, above the error's words
        std::exception_ptr error;
    };

    ReportedErrors();
    ~ReportedErrors();
    ReportedErrors(const ReportedErrors&) = delete;
    ReportedErrors& operator=(const ReportedErrors&) = delete;

    int count() const { return int(reports_.size()); }
    const std::vector<Report>& reports() const { return reports_; }
    QString lastMessage() const { return reports_.empty() ? QString() : reports_.back().message; }

    // True when the last report was an error of kind E (or of a kind derived from it).
    template <class E>
    bool lastIs() const
    {
        if (reports_.empty() || !reports_.back().error)
            return false;
        try {
            std::rethrow_exception(reports_.back().error);
        } catch (const E&) {
            return true;
        } catch (...) {
            return false;
        }
    }

private:
    std::vector<Report> reports_;
};
