#pragma once

namespace transfer {
class RowStore;
}

namespace transfer::ui {

// The Transfer button's run with its windows: the archive window around each archive job, the upload
// form made for the run, the upload window while the network part runs on a thread of its own (the
// windows stay painted; only the upload window takes input), then "Transfer Complete" or "Transfer
// failed" with the reason. An error of the tables ends it with the standard error box, through the
// caller's error handling.
void runWithWindows(RowStore& rows);

} // namespace transfer::ui
