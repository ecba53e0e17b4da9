#include "KeyText.h"

namespace transfer {

QString KeyText(qint16 code, const QString &custom)
{
    switch (code) {
    case KeyCode::Custom:
        return custom;
    case KeyCode::Tab:
        return QStringLiteral("{TAB}");
    case KeyCode::Enter:
        return QStringLiteral("{ENTER}");
    default:
        return QString();
    }
}

QString SeparatorText(qint16 code, const QString &custom)
{
    if (code == KeyCode::Custom) {
        return custom;
    }
    // 0 adds nothing; other negative codes are not characters. Every positive
    // 16-bit code is below the surrogate range, so it is one whole character.
    if (code <= 0) {
        return QString();
    }
    return QString(QChar(static_cast<char16_t>(code)));
}

} // namespace transfer
