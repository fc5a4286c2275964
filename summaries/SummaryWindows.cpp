// Registers the summary, statement and product history windows with the main window's registry.
#include "summaries/SummaryWindows.h"

#include "core/WindowRegistry.h"
#include "summaries/BalanceCatalog.h"
#include "summaries/BalanceWindow.h"
#include "summaries/KindSummaryCatalog.h"
#include "summaries/KindSummaryWindow.h"
#include "summaries/Tfrdetail.h"

namespace lb::summaries {

using lb::core::WindowRegistry;

void registerSummaryWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    for (const QString& key : KindSummaryCatalog::keys())
        registry.registerWindow(key, [key](QWidget* owner) { return new KindSummaryWindow(KindSummaryCatalog::byKey(key), owner); });
    for (const QString& key : BalanceCatalog::keys())
        registry.registerWindow(key, [key](QWidget* owner) { return new BalanceWindow(BalanceCatalog::byKey(key), owner); });
    registry.registerWindow(QStringLiteral("Tfrdetail"), [](QWidget* owner) { return Tfrdetail::open(owner); });
}

} // namespace lb::summaries
