#pragma once

#include <QStringList>
#include <QTextStream>

// One function per vorlex-cli subcommand: gets the words after the subcommand's name, prints to out
// and err, returns the process's exit code.
struct CliStreams {
    QTextStream& out;
    QTextStream& err;
};

int runPaths(const QStringList& args, CliStreams io);
int runZip(const QStringList& args, CliStreams io);
int runPicture(const QStringList& args, CliStreams io);
int runFtp(const QStringList& args, CliStreams io);
int runFile(const QStringList& args, CliStreams io);
int runInstall(const QStringList& args, CliStreams io);
int runTransferCommand(const QStringList& args, CliStreams io);
int runPrint(const QStringList& args, CliStreams io);
int runRegister(const QStringList& args, CliStreams io);
