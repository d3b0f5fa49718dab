#include "platform/EventPump.h"

#include <QCoreApplication>

namespace platform {

void letMessagesThrough() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

} // namespace platform
