#include "app/Settings.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

TEST(FtpSettings, HostAndPortComeFromTheSettingsOrForOneStartFromTheEnvironment) {
    TempDrive drive;
    qunsetenv("VORLEX_FTP_HOST");
    qunsetenv("VORLEX_FTP_PORT");
    EXPECT_EQ(settings::readFtpServer().host, "");
    EXPECT_EQ(settings::readFtpServer().port, 21);

    platform::Registry registry;
    ASSERT_TRUE(registry.openKey(settings::Key, true));
    registry.writeString(settings::FtpHostValue, " ftp.insurer.example ");
    EXPECT_EQ(settings::readFtpServer().host, "ftp.insurer.example");
    EXPECT_EQ(settings::readFtpServer().port, 21);
    registry.writeString(settings::FtpPortValue, "2121");
    EXPECT_EQ(settings::readFtpServer().port, 2121);

    qputenv("VORLEX_FTP_HOST", "127.0.0.1");
    qputenv("VORLEX_FTP_PORT", "40021");
    EXPECT_EQ(settings::readFtpServer().host, "127.0.0.1");
    EXPECT_EQ(settings::readFtpServer().port, 40021);
    qunsetenv("VORLEX_FTP_HOST");
    qunsetenv("VORLEX_FTP_PORT");
    EXPECT_EQ(registry.readString(settings::FtpHostValue), " ftp.insurer.example ") << "the settings stay";

    for (const char* bad : {"0", "65536", "ftp", "-1"}) {
        registry.writeString(settings::FtpPortValue, QString::fromLatin1(bad));
        try {
            settings::readFtpServer();
            ADD_FAILURE() << bad;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("The setting \"FTP Port\" is not a port number: \"%1\"").arg(bad));
        }
    }
}
