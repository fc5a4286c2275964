// The masked password box of the privileged commands.
#pragma once

#include <QString>

namespace lb::core {

// Asks for a text in a modal box whose edit (at most 255 characters) shows "*" for each
// character typed, with the buttons "确定" and "取消". Returns the typed text on "确定" and
// `defaultText` on "取消" (callers pass an empty default, so Cancel gives ""). The callers
// trim the answer and compare it with the operator's password. `ok` (optional) tells whether
// the box was confirmed, for callers that must not take Cancel for an empty password.
QString PasswordBox(const QString& caption, const QString& prompt, const QString& defaultText = QString(),
                    bool* ok = nullptr);

} // namespace lb::core
