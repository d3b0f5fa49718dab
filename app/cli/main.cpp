#include "app/Settings.h"
#include "app/cli/Commands.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <functional>

namespace {

struct Command {
    const char* name;
    const char* summary;
    std::function<int(const QStringList&, CliStreams)> run;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"file", "file --claim N --category C [--resize yes|no] NAME: file an inbox picture", runFile},
        {"ftp", "ftp put --host H [--port P] --user U --password W [--cwd DIR] FILE...: upload by APPE",
         runFtp},
        {"install", "make the folders and tables a garage needs where they are missing; import old tables",
         runInstall},
        {"paths", "print where the system's places are on this machine", runPaths},
        {"picture", "picture info|draw|resize FILE ...: show, draw or shrink a picture", runPicture},
        {"print", "print FILE OUT.pdf [--dpi N]: the picture's printed A4 page as a PDF file", runPrint},
        {"register", "register add --claim N ... | search unfinished|date D|claim N: enter or search reports",
         runRegister},
        {"transfer",
         "transfer [--receipts [COUNT] | --server]: the Transfer run without windows; its receipts",
         runTransferCommand},
        {"zip", "zip add ARCHIVE FILE: move FILE into ARCHIVE as the transfer run does", runZip},
    };
    return table;
}

// The drive is made ready (the default folder made, a chosen one that is missing refused) for every
// command but paths, which only says where the places are, and install, which makes the drive folder.
bool needsDrive(const QString& command) {
    return command != QLatin1String("paths") && command != QLatin1String("install");
}

void printHelp(QTextStream& out) {
    out << "usage: vorlex-cli [--drive-c FOLDER] COMMAND [ARGS...]\n\n"
           "Runs the garage client's logic without windows.\n\n"
           "commands:\n";
    for (const Command& command : commands())
        out << "  " << QString::fromLatin1(command.name).leftJustified(10) << command.summary << '\n';
    out << "\n--drive-c FOLDER  the folder that stands for drive C: (default: the \"Drive C\" setting, else "
           "drive_c in the application data folder)\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vorlex"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args.first() == QLatin1String("--drive-c")) {
        platform::drive::setDriveFolder(args.at(1));
        args = args.mid(2);
    } else {
        try {
            settings::applyDriveSetting();
        } catch (const platform::Error& e) {
            err << e.message() << '\n';
            return 1;
        }
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& command : commands()) {
        if (name != QLatin1String(command.name)) continue;
        try {
            if (needsDrive(name)) platform::drive::prepareDriveFolder();
            return command.run(args, CliStreams{out, err});
        } catch (const platform::Error& e) {
            out.flush();
            err << e.message() << '\n';
            return 1;
        }
    }
    err << "vorlex-cli: unknown command '" << name << "' (see vorlex-cli --help)\n";
    return 2;
}
