#include "transfer/ui/TransferWindows.h"
#include "app/ProgramState.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/transfer/TransferFixture.h"
#include "transfer/ui/CopyAnimation.h"
#include "transfer/ui/CopyfU.h"
#include "transfer/ui/LoginU.h"
#include "transfer/ui/ZipfU.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using platform::BoxButton;
using platform::BoxKind;

namespace {

// The windows start-up makes, the server the settings name and the garage's name.
class TransferWindows : public TransferFixture {
protected:
    TransferWindows() {
        qputenv("VORLEX_FTP_HOST", server->host().toLatin1());
        qputenv("VORLEX_FTP_PORT", QByteArray::number(server->port()));
        program::setGarageName(garage);
    }
    // A server that takes in at most bytesPerSecond, so that the window sees a file on its way.
    void slowServer(int bytesPerSecond = 4000000) {
        server = std::make_unique<FtpServer>(
            drive.root() + QStringLiteral("/../slow-insurer"), QStringLiteral("online"),
            QStringLiteral("zqvbrtkmw"),
            QStringList{QStringLiteral("--read-limit"), QString::number(bytesPerSecond)});
        QDir(server->root()).mkpath(remoteFolder());
        qputenv("VORLEX_FTP_PORT", QByteArray::number(server->port()));
    }
    void runWithWindows() {
        platform::handleErrors([&] { transfer::ui::runWithWindows(rows); });
    }

    TCopyf copyf;
    TZipf zipf;
    ScriptedMessages messages;
};

} // namespace

TEST(TransferForms, TheUploadFormHoldsTheCredentialsAndTheWindowsTheirTexts) {
    TLogin login;
    EXPECT_EQ(login.windowTitle(), QString::fromUtf8("เข้าสู่ออนไลน์ บริษัทQorvaneจำกัด"));
    EXPECT_EQ(login.findChild<QLineEdit*>("Edit1")->text(), "online");
    EXPECT_EQ(login.findChild<QLineEdit*>("Edit2")->text(), "zqvbrtkmw");
    EXPECT_EQ(login.passwordEdit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(login.userLabel->text(), QString::fromUtf8("ชื่อผู้ใช้"));
    EXPECT_EQ(login.passwordLabel->text(), QString::fromUtf8("รหัสผ่าน"));
    EXPECT_TRUE(login.findChild<QPushButton*>("BitBtn1")->isDefault());
    EXPECT_EQ(login.findChild<QPushButton*>("BitBtn2")->text(), "Cancel");
    login.userEdit->setText("other");
    EXPECT_EQ(login.withCredentials({}).user, "other");
    EXPECT_EQ(login.withCredentials({}).password, "zqvbrtkmw");

    TCopyf copyf;
    EXPECT_EQ(copyf.windowTitle(), "Copying...");
    EXPECT_TRUE(copyf.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(copyf.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(copyf.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(copyf.cancelButton->text(), "Cancel");
    copyf.showForUpload();
    EXPECT_TRUE(copyf.animation->playing());
    const int first = copyf.animation->frame();
    QTest::qWait(200);
    EXPECT_NE(copyf.animation->frame(), first) << "the animation moves";
    EXPECT_GE(copyf.animation->frame(), CopyAnimation::FirstFrame);
    EXPECT_LE(copyf.animation->frame(), CopyAnimation::LastFrame);
    copyf.closeAfterUpload();
    EXPECT_FALSE(copyf.animation->playing());

    TZipf zipf;
    EXPECT_EQ(zipf.windowTitle(), "Process Zip...");
    EXPECT_EQ(zipf.progressBar->maximum(), 100);
    EXPECT_EQ(zipf.Zip1.Switch, archive::swMove);
    EXPECT_FALSE(zipf.Zip1.RecurseDirs);
}

TEST_F(TransferWindows, ARunShowsItsWindowsAndEndsWithTransferComplete) {
    rows.add("AB123456", 1);
    writeTransferFile("AB123456001.jpg", randomBytes(3 << 20, 1));
    writeTransferFile("AB123456002.jpg", randomBytes(1000, 2));
    writeTransferFile("AB123456801.gif", randomBytes(300000, 3));
    QStringList zipLabels;
    QList<int> zipBar;
    const auto begin = zipf.Zip1.OnBegin;
    zipf.Zip1.OnBegin = [&](archive::TZip& z, const QString& name, int count, bool& extract) {
        begin(z, name, count, extract);
        zipLabels.append(zipf.fileLabel->text());
        EXPECT_TRUE(zipf.isVisible());
    };
    const auto progress = zipf.Zip1.OnProgress;
    zipf.Zip1.OnProgress = [&](archive::TZip& z, quint8 byFile, quint8 byArchive) {
        progress(z, byFile, byArchive);
        zipBar.append(zipf.progressBar->value());
    };
    QList<int> bar;
    QStringList labels;
    QObject::connect(copyf.progressBar, &QProgressBar::valueChanged, [&](int value) {
        bar.append(value);
        if (labels.isEmpty() || labels.last() != copyf.fileLabel->text())
            labels.append(copyf.fileLabel->text() + " | " + copyf.destinationLabel->text());
        EXPECT_TRUE(copyf.isVisible());
    });
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    slowServer();
    bool loginShown = false;
    messages.onShow([&](const platform::BoxRequest&) {
        for (QWidget* w : QApplication::topLevelWidgets())
            loginShown = loginShown || (qobject_cast<TLogin*>(w) && w->isVisible());
        EXPECT_FALSE(copyf.isVisible());
        EXPECT_FALSE(zipf.isVisible());
    });
    runWithWindows();

    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().kind, BoxKind::Information);
    EXPECT_EQ(messages.last().text, "Transfer Complete");
    EXPECT_EQ(messages.last().buttons, QList<BoxButton>{BoxButton::Ok});
    EXPECT_FALSE(loginShown);
    EXPECT_TRUE(zipLabels.value(0).endsWith("AB123456801.gif")) << zipLabels.value(0).toStdString();
    EXPECT_FALSE(zipBar.isEmpty());
    EXPECT_EQ(zipBar.value(0) >= 0, true);
    EXPECT_EQ(remoteFiles(), QStringList({"AB123456.Zip", "AB123456001.jpg", "AB123456002.jpg", "Vorlex2.DB",
                                          "Vorlex2.PX"}));
    EXPECT_EQ(copyf.maximum(), 6);
    EXPECT_EQ(copyf.position(), 6);
    EXPECT_EQ(labels.value(1), "AB123456.Zip | From 'Transfer' to 'Garage 1'");
    EXPECT_TRUE(std::any_of(bar.begin(), bar.end(), [](int v) { return v % 1000 != 0; }))
        << "the bar moves within a file";
    EXPECT_GT(ticks, 20) << "the window thread went on while the upload ran";
    EXPECT_EQ(rows.unsent(), QList<transfer::RowKey>{});
}

TEST_F(TransferWindows, CancelStopsTheUploadAndTheBoxSaysSo) {
    // About four seconds on the way: a loaded machine's window thread still sees the file going and
    // presses Cancel long before its end.
    const QByteArray big = randomBytes(4 << 20, 4);
    writeTransferFile("AB123456.Zip", big);
    slowServer(1000000);
    const auto clicker = QObject::connect(copyf.progressBar, &QProgressBar::valueChanged, [&](int value) {
        if (value % 1000 > 100 && copyf.cancelButton->isEnabled())
            QTest::mouseClick(copyf.cancelButton, Qt::LeftButton);
    });
    runWithWindows();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().kind, BoxKind::Error);
    EXPECT_TRUE(messages.last().text.startsWith(
        "Transfer failed\n\nThe transfer was cancelled while \"AB123456.Zip\""))
        << messages.last().text.toStdString();
    EXPECT_TRUE(isLocal("AB123456.Zip"));
    EXPECT_LT(remoteFile("AB123456.Zip").size(), big.size());
    messages.clear();
    QObject::disconnect(clicker);
    runWithWindows();
    EXPECT_EQ(messages.texts(), QStringList{"Transfer Complete"});
    EXPECT_EQ(remoteFile("AB123456.Zip"), big);
}

TEST_F(TransferWindows, WithoutAServerTheBoxSaysWhatToSet) {
    qunsetenv("VORLEX_FTP_HOST");
    writeTransferFile("AB123456001.jpg", "x");
    runWithWindows();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().kind, BoxKind::Error);
    EXPECT_TRUE(messages.last().text.startsWith("Transfer failed\n\nNo FTP server is set"))
        << messages.last().text.toStdString();
    EXPECT_TRUE(isLocal("AB123456001.jpg"));
}

TEST_F(TransferWindows, AnErrorOfTheTablesShowsTheStandardErrorBoxOnly) {
    rows.add("AB123456", 1);
    rows.failExport = true;
    runWithWindows();
    EXPECT_EQ(messages.texts(), QStringList{"Table is busy."});
    EXPECT_EQ(messages.last().kind, BoxKind::Error);
}
