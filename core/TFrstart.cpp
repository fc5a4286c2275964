// The quick-start window: the short guide shown at start and from the tool bar.
#include "core/TFrstart.h"

TFrstart::TFrstart(QWidget* parent)
    : QDialog(parent)
{
}
