#include "app/Settings.h"
#include "app/ui/PictureU.h"
#include "filing/ui/NewPicturesPage.h"
#include "platform/Registry.h"
#include "register/Install.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/transfer/TransferFixture.h"
#include "transfer/ui/CopyfU.h"
#include "transfer/ui/ZipfU.h"

#include <QPushButton>
#include <QTest>

// The Transfer button of the main window's new-pictures page runs the whole transfer.
TEST_F(TransferFixture, TheTransferButtonSendsTheTransferFolderAndMarksTheRows) {
    reg::install::run();
    platform::Registry registry;
    registry.openKey(settings::Key, true);
    registry.writeString(settings::GarageNameValue, garage);
    qputenv("VORLEX_FTP_HOST", server->host().toLatin1());
    qputenv("VORLEX_FTP_PORT", QByteArray::number(server->port()));
    TCopyf copyf;
    TZipf zipf;
    ScriptedMessages messages;
    TPicture picture;
    ASSERT_EQ(messages.count(), 0) << messages.texts().join('\n').toStdString();
    {
        reg::RegisterRow row;
        row.claimno = "AB123456";
        row.seq = 1;
        row.reportDate = QDate(2026, 12, 11);
        picture.registerTables.VorlexT.open();
        picture.registerTables.VorlexT.store(row);
    }
    writeTransferFile("AB123456001.jpg", randomBytes(20000, 1));
    QPushButton* button = picture.findChild<QPushButton*>("BitBtn3");
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{"Transfer Complete"});
    EXPECT_EQ(remoteFiles(), QStringList({"AB123456001.jpg", "Vorlex2.DB", "Vorlex2.PX"}));
    EXPECT_EQ(remoteFile("AB123456001.jpg"), randomBytes(20000, 1));
    picture.registerTables.VorlexQ2.setLines({"select * from vorlex", "where send='0'"});
    picture.registerTables.VorlexQ2.open();
    EXPECT_EQ(picture.registerTables.VorlexQ2.rowCount(), 0);
}
