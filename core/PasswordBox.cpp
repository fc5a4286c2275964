// The masked password box of the privileged commands.
#include "core/PasswordBox.h"

#include "platform/ui/Dialogs.h"

namespace lb::core {

QString PasswordBox(const QString& caption, const QString& prompt, const QString& defaultText, bool* ok)
{
    return lb::ui::Dialogs::passwordBox(caption, prompt, defaultText, ok);
}

} // namespace lb::core
