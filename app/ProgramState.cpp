#include "app/ProgramState.h"

#include <QLocale>

namespace program {
namespace {

QString& shortDateFormatInUse() {
    static QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    return format;
}

QString& garageNameInUse() {
    static QString name;
    return name;
}

} // namespace

QString shortDateFormat() {
    return shortDateFormatInUse();
}
void setShortDateFormat(const QString& format) {
    shortDateFormatInUse() = format;
}
QString formatShortDate(const QDate& date) {
    return date.toString(shortDateFormatInUse());
}

QString garageName() {
    return garageNameInUse();
}
void setGarageName(const QString& name) {
    garageNameInUse() = name;
}

} // namespace program
