// The operator password transform and the administrator's factory password.
#pragma once

#include <QString>

namespace lb::core {

// The password the administrator "999" has in a fresh database, shown on the log-in window.
inline const QString FactoryAdminPassword = QStringLiteral("888");

// Key-less, deterministic transform of a password: each character yields two letters made
// from the character and its 1-based position, so the result is twice as long as the text
// ("" gives ""). Two different characters below U+02A4 at the same position never give the
// same pair, so digit and Latin passwords never collide.
QString ScramblePassword(const QString& text);

} // namespace lb::core
