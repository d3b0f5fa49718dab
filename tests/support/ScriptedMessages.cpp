#include "tests/support/ScriptedMessages.h"

using platform::BoxButton;
using platform::BoxKind;

ScriptedMessages::ScriptedMessages() : previous_(&platform::messageService()) {
    platform::setMessageService(this);
}

ScriptedMessages::~ScriptedMessages() {
    // previous_ may be the fallback, which is never installed itself: nullptr brings it back.
    platform::setMessageService(nullptr);
    if (previous_ != &platform::messageService()) platform::setMessageService(previous_);
}

BoxButton ScriptedMessages::show(const platform::BoxRequest& request) {
    boxes_.append(request);
    if (hook_) hook_(request);
    if (answers_.isEmpty()) return request.defaultButton;
    return answers_.dequeue();
}

QStringList ScriptedMessages::texts() const {
    QStringList result;
    for (const platform::BoxRequest& box : boxes_)
        result.append(box.text);
    return result;
}

namespace platform {
void PrintTo(BoxKind kind, std::ostream* os) {
    *os << toString(kind);
}
void PrintTo(BoxButton button, std::ostream* os) {
    *os << toString(button);
}
} // namespace platform
