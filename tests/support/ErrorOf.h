#pragma once

#include "platform/Error.h"

#include <QString>
#include <functional>

// The message of the error an action raises; empty when it raises none.
inline QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Error& e) {
        return e.message();
    }
    return QString();
}
