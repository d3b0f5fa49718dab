#include "app/cli/Commands.h"
#include "ftp/FtpClient.h"
#include "platform/Files.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const char* const kUsage =
    "usage: vorlex-cli ftp put --host H [--port P] --user U --password W [--cwd DIR] FILE...\n";

// "c:\..." and "\..." are the system's paths; anything else is a path of this machine, taken from the
// current folder.
QString localPath(const QString& argument) {
    static const QRegularExpression systemPath(QStringLiteral("^([A-Za-z]:|\\\\)"));
    if (systemPath.match(argument).hasMatch()) return argument;
    return QFileInfo(argument).absoluteFilePath();
}

struct PutRequest {
    QString host;
    quint16 port = ftp::FtpClient::kDefaultPort;
    QString user;
    QString password;
    QString folder;
    QStringList files;
};

bool parse(const QStringList& args, PutRequest* request) {
    if (args.value(0) != QLatin1String("put")) return false;
    bool haveUser = false;
    bool havePassword = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& word = args.at(i);
        if (!word.startsWith(QLatin1String("--"))) {
            request->files.append(word);
            continue;
        }
        if (i + 1 >= args.size()) return false;
        const QString value = args.at(++i);
        if (word == QLatin1String("--host")) {
            request->host = value;
        } else if (word == QLatin1String("--port")) {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (!ok || port < 1 || port > 65535) return false;
            request->port = quint16(port);
        } else if (word == QLatin1String("--user")) {
            request->user = value;
            haveUser = true;
        } else if (word == QLatin1String("--password")) {
            request->password = value;
            havePassword = true;
        } else if (word == QLatin1String("--cwd")) {
            request->folder = value;
        } else {
            return false;
        }
    }
    return !request->host.isEmpty() && haveUser && havePassword && !request->files.isEmpty();
}

} // namespace

int runFtp(const QStringList& args, CliStreams io) {
    PutRequest request;
    if (!parse(args, &request)) {
        io.err << kUsage;
        return 2;
    }
    ftp::FtpClient client;
    client.setHost(request.host);
    client.setPort(request.port);
    client.setUser(request.user);
    client.setPassword(request.password);
    client.setTrace({[&](const QString& line) { io.out << "> " << line << '\n'; },
                     [&](const ftp::ServerReply& reply) {
                         for (const QString& line : reply.lines)
                             io.out << "< " << line << '\n';
                         io.out.flush();
                     }});
    client.connect();
    if (!request.folder.isEmpty()) client.changeDirectory(request.folder);
    for (const QString& file : request.files) {
        const QString path = localPath(file);
        client.put(path, platform::files::nameOf(path), true);
    }
    client.disconnect();
    io.out << "sent " << request.files.size() << (request.files.size() == 1 ? " file\n" : " files\n");
    return 0;
}
