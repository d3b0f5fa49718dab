#pragma once

namespace platform {

// Lets pending window messages through, as long jobs on the one user-interface thread do between blocks.
void letMessagesThrough();

} // namespace platform
