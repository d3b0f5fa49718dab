#include "ftp/CommandLine.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

TEST(CommandLine, TextTravelsInTheThaiCodePageWithCrLf) {
    EXPECT_EQ(ftp::encodeCommandLine("TYPE I"), QByteArray("TYPE I\r\n"));
    EXPECT_EQ(ftp::encodeCommandLine("STOU "), QByteArray("STOU \r\n"));
    EXPECT_EQ(ftp::encodeCommandLine(QString::fromUtf8("CWD Claim\\อู่ช่างดี")),
              QByteArray("CWD Claim\\\xcd\xd9\xe8\xaa\xe8\xd2\xa7\xb4\xd5\r\n"));
}

TEST(CommandLine, LineBreaksNulAndForeignCharactersAreRefused) {
    const QString password = QStringLiteral("secret");
    const QString texts[] = {
        "APPE a.jpg\r\nDELE b.jpg",
        "CWD Claim\\x\nRMD y",
        "CWD Claim\\x\r",
        QStringLiteral("APPE a") + QChar(0) + "b",
        "PASS " + password + "\n",
        QString::fromUtf8("APPE 写真.jpg"),
        "PASS " + password + QString::fromUtf8("€€日"),
    };
    for (const QString& text : texts) {
        try {
            ftp::encodeCommandLine(text);
            ADD_FAILURE() << "accepted: " << text.toStdString();
        } catch (const platform::Error& e) {
            EXPECT_FALSE(e.message().contains(password)) << e.message().toStdString();
            EXPECT_TRUE(e.message().startsWith("A command cannot hold")) << e.message().toStdString();
        }
    }
}
