// The masked password box of the privileged commands.
#include "core/PasswordBox.h"

#include "platform/ui/Dialogs.h"

namespace lb::core {

QString PasswordBox(const QString& caption, const QString& prompt, const QString& defaultText)
{
    return lb::ui::Dialogs::passwordBox(caption, prompt, defaultText);
}

} // namespace lb::core
