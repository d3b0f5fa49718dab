#include "platform/Error.h"

namespace platform {

QString formatMessage(const QString& pattern, const QString& argument) {
    QString text = pattern;
    for (const char* marker : {"%s", "%d"}) {
        const qsizetype at = text.indexOf(QLatin1String(marker));
        if (at >= 0) return text.replace(at, 2, argument);
    }
    return text;
}

} // namespace platform
