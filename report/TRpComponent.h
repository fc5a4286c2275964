// Base of everything a report layout names: the report, its bands and its controls.
#pragma once

#include <QString>

namespace lb::report {

class TRpComponent {
public:
    virtual ~TRpComponent() = default;

    const QString& Name() const { return name_; }
    virtual void SetName(const QString& name) { name_ = name; }

protected:
    TRpComponent() = default;
    TRpComponent(const TRpComponent&) = delete;
    TRpComponent& operator=(const TRpComponent&) = delete;

private:
    QString name_;
};

} // namespace lb::report
