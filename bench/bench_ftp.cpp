// One APPE upload with the FTP client, timed from connect to disconnect.
//   bench_ftp HOST PORT USER PASSWORD FILE REMOTE-NAME
#include "ftp/FtpClient.h"
#include "platform/Error.h"

#include <QFileInfo>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: bench_ftp HOST PORT USER PASSWORD FILE REMOTE-NAME\n");
        return 2;
    }
    ftp::FtpClient client;
    client.setHost(QString::fromLocal8Bit(argv[1]));
    client.setPort(quint16(QByteArray(argv[2]).toUInt()));
    client.setUser(QString::fromLocal8Bit(argv[3]));
    client.setPassword(QString::fromLocal8Bit(argv[4]));
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[5])).absoluteFilePath();
    const auto start = std::chrono::steady_clock::now();
    try {
        client.connect();
        client.put(file, QString::fromLocal8Bit(argv[6]), true);
        client.disconnect();
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return 0;
}
