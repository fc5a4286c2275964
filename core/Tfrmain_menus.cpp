// The main window's menus, tool bar, navigator bar and dashboard.
#include "core/Tfrmain.h"

void Tfrmain::buildMenus()
{
}

void Tfrmain::showFirstDashboardPage()
{
}
