#include "app/ProgramState.h"
#include "app/Settings.h"
#include "app/cli/Commands.h"
#include "archive/Zip.h"
#include "register/RegisterTables.h"
#include "transfer/RegisterRows.h"
#include "transfer/TransferRun.h"

namespace {

const char* const kUsage = "usage: vorlex-cli transfer [--receipts [COUNT] | --server]\n";

// Prints each step and each file as the run goes, a line at a time.
class PrintingHooks : public transfer::RunHooks, public transfer::UploadObserver {
public:
    explicit PrintingHooks(QTextStream& out) : out_(out) { archive::applyTransferSettings(zip_); }

    void step(const QString& text) override { line(text); }
    archive::TZip& zip() override { return zip_; }
    transfer::UploadObserver& uploadObserver() override { return *this; }
    void beforeJob(const QString& scan, const QString& archivePath) override {
        line(QStringLiteral("archive %1 into %2").arg(scan, archivePath));
    }
    void connected() override { line(QStringLiteral("connected and logged in")); }
    void started(int files) override { line(QStringLiteral("files to send: %1").arg(files)); }
    void fileStarted(const QString& name, const QString&) override {
        line(QStringLiteral("send %1").arg(name));
    }
    void fileDone(const transfer::SentFile& file) override {
        line(QStringLiteral("done %1 (%2 bytes, CRC-32 %3)")
                 .arg(file.name)
                 .arg(file.stamp.size)
                 .arg(transfer::crcText(file.stamp.crc)));
    }

private:
    void line(const QString& text) {
        out_ << text << '\n';
        out_.flush();
    }
    QTextStream& out_;
    archive::TZip zip_;
};

} // namespace

int runTransferCommand(const QStringList& args, CliStreams io) {
    if (args.value(0) == QLatin1String("--receipts") && args.size() <= 2) {
        bool ok = true;
        const int count = args.size() == 2 ? args.at(1).toInt(&ok) : 5;
        if (!ok || count < 1) {
            io.err << kUsage;
            return 2;
        }
        io.out << transfer::ReceiptLog().last(count);
        return 0;
    }
    if (args.size() == 1 && args.first() == QLatin1String("--server")) {
        const settings::FtpServerSetting server = settings::readFtpServer();
        if (!server.host.isEmpty()) io.out << server.host << ' ' << server.port << '\n';
        return 0;
    }
    if (!args.isEmpty()) {
        io.err << kUsage;
        return 2;
    }
    program::setGarageName(settings::readGarageName());
    if (program::garageName().isEmpty()) {
        io.err
            << "No garage is registered yet (setting \"Garage Name\"): start the program once to register.\n";
        return 1;
    }
    const settings::FtpServerSetting server = settings::readFtpServer();
    transfer::RunSettings run;
    run.upload.host = server.host;
    run.upload.port = server.port;
    run.upload.garageName = program::garageName();
    reg::RegisterTables tables;
    transfer::RegisterRows rows(tables);
    PrintingHooks hooks(io.out);
    const transfer::RunOutcome outcome = transfer::runTransfer(rows, run, hooks);
    io.out << QStringLiteral("steps: export %1 s, archiving %2 s, upload %3 s, marking %4 s\n")
                  .arg(outcome.exportSeconds, 0, 'f', 3)
                  .arg(outcome.archiveSeconds, 0, 'f', 3)
                  .arg(outcome.uploadSeconds, 0, 'f', 3)
                  .arg(outcome.markSeconds, 0, 'f', 3);
    if (outcome.succeeded) {
        io.out << "Transfer Complete\n";
        return 0;
    }
    io.out.flush();
    io.err << transfer::failureMessage(outcome.error).replace(QLatin1String("\n\n"), QLatin1String(": "))
           << '\n';
    return 1;
}
