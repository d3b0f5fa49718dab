#pragma once

#include "transfer/Receipts.h"
#include "transfer/Upload.h"
#include "transfer/ZipFile.h"

#include <functional>

namespace archive {
class TZip;
}

namespace transfer {

class RowStore;

struct RunSettings {
    UploadSettings upload;
    QString journalPath;  // empty: beside the tables
    QString receiptsPath; // empty: beside the tables
};

// What a run needs from the one who started it: the windows (or the lines printed) around its steps.
class RunHooks : public ArchiveObserver {
public:
    // A line about the run's progress: each step and each file.
    virtual void step(const QString& text) { (void)text; }
    // The archive component of the archive progress window.
    virtual archive::TZip& zip() = 0;
    virtual UploadObserver& uploadObserver() = 0;
    // Runs the upload; a window runs it on another thread and keeps itself painted meanwhile.
    virtual UploadResult runUpload(const std::function<UploadResult()>& upload) { return upload(); }
};

struct RunOutcome {
    bool succeeded = false;
    QString error; // the first error's text
    Receipt receipt;
    // How long the run's own steps took, in seconds.
    double exportSeconds = 0;
    double archiveSeconds = 0;
    double uploadSeconds = 0;
    double markSeconds = 0;
};

// The transfer run: rows left marked-to-be by a run that was cut off are marked; the unsent rows go into
// the export table, whose files are copied into the transfer folder; each scan goes into its claim's
// archive; the transfer folder is uploaded; the rows whose export files the server has confirmed are
// marked as sent; a receipt is appended to the log. A failure of the table engine is raised as it
// comes (the run ends there); every other failure ends the run with a failed outcome.
RunOutcome runTransfer(RowStore& rows, const RunSettings& settings, RunHooks& hooks);

// "Transfer failed" and, on a line after a blank one, why.
QString failureMessage(const QString& error);

} // namespace transfer
