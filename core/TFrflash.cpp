// The splash window shown at start while the option flashbj is set.
#include "core/TFrflash.h"

TFrflash::TFrflash(QWidget* parent)
    : QDialog(parent)
{
}
