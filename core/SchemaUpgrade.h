// In-place upgrade of database files made by older installations.
#pragma once

namespace lb::core {

class Tfrdm;

// Each step finds what the file lacks, adds it in one transaction and returns true; when
// nothing is missing, no statement runs (the file's schema stays untouched) and it returns
// false. A failing statement rolls the whole step back and its error reaches the caller.
// Only columns a table actually lacks are added, so a file that an interrupted or partial
// upgrade left behind is completed rather than refused.
class SchemaUpgrade {
public:
    // Test-opens the options dataset; when that fails (a persistent column is missing), adds
    // to config: flashbj (Yes/No, default true, set true), startbj (Yes/No, default false, set
    // true: older installations do not show the quick-start window), remark1 (memo, "").
    // All three are brought in by the one step, so that the options row can be read before
    // the log-in; the start-up's second test-open after the log-in then finds nothing to do.
    static bool upgradeOptions(Tfrdm& dm);

    // Looks at the columns of each table. Document headers: remark1 (memo), billtype
    // (text 2), billname (text 10), addr (text 60), all empty, in the seven header tables and
    // totallist; postroute (text 1, null) in the seven header tables; totallist1 made as a
    // copy of totallist with its rows; both given the counter key intid (existing rows
    // numbered in their stored order).
    static bool upgradeDocuments(Tfrdm& dm);

    // Creates the indexes of the document tables (Schema::indexes()) that the file lacks.
    static bool upgradeIndexes(Tfrdm& dm);
};

} // namespace lb::core
