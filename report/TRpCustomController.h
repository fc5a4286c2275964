// Base of the record controllers: the sub-levels and groups of one level of a report.
#pragma once

#include <vector>

namespace lb::report {

class TCustomRpReport;
class TRpComponent;
class TRpCustomBand;
class TRpGroup;
class TRpPrintable;

class TRpCustomController {
public:
    // `parent` is the report or controller band the controller serves (not owned).
    TRpCustomController(TRpComponent* parent, TCustomRpReport* report);
    virtual ~TRpCustomController();
    TRpCustomController(const TRpCustomController&) = delete;
    TRpCustomController& operator=(const TRpCustomController&) = delete;

    TRpComponent* Parent() const { return parent_; }
    TCustomRpReport* ParentReport() const { return report_; }
    // The report, or a controller band; any other component is ignored.
    TRpComponent* Master() const { return master_; }
    void SetMaster(TRpComponent* master);

    bool PrintIfEmpty = true;
    bool PrintBefore = false;

    // Sub-levels printed before and after this level's detail band, and this level's groups.
    const std::vector<TRpCustomController*>& BeforeList() const { return beforeList_; }
    const std::vector<TRpCustomController*>& AfterList() const { return afterList_; }
    const std::vector<TRpGroup*>& Groups() const { return groups_; }

    // Expression controls told when this level's detail prints (their aggregates count).
    void RegisterControl(TRpPrintable* control);
    void NotifyControls();

    // Finds the sub-levels and groups whose master is Parent, in the report's band order.
    virtual void BuildBandLists();
    virtual void Prepare();
    virtual void Unprepare();
    // The record loop.
    virtual void Execute();
    virtual void PrintEmpty();
    void RunBeforeList();
    void RunAfterList();
    // The bands of this level in print order, each followed by its child bands.
    virtual void RegisterBands(std::vector<TRpCustomBand*>& order) const;

    // Evaluates the groups: the first that changed breaks every group after it. True when any
    // group broke.
    bool CheckGroups();
    // At a new column or page: marks the groups that print their header again (and the ones
    // inside them) and prints those headers, the sub-levels' included.
    void ReprintGroupHeaders();
    void PrintGroupHeader(TRpGroup* group);
    void PrintGroupFooter(TRpGroup* group);

protected:
    TRpComponent* parent_;
    TCustomRpReport* report_;
    TRpComponent* master_ = nullptr;
    std::vector<TRpCustomController*> beforeList_;
    std::vector<TRpCustomController*> afterList_;
    std::vector<TRpGroup*> groups_;
    std::vector<TRpPrintable*> registered_;
};

} // namespace lb::report
