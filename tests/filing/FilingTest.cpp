#include "filing/Filing.h"
#include "filing/Messages.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "tests/filing/FilingFixture.h"

#include <QDir>
#include <gtest/gtest.h>

using filing::PictureCategory;

namespace {

// Answers the resize question as told and remembers what filing asked and told.
class RecordedPrompts : public filing::FilingPrompts {
public:
    explicit RecordedPrompts(bool yes = true) : yes_(yes) {}
    bool confirmResize() override {
        calls << "question";
        return yes_;
    }
    void refuseOversize() override { calls << "refused"; }
    void beep() override { calls << "beep"; }
    void filed(const QString& name) override { calls << "filed " + name; }

    QStringList calls;

private:
    bool yes_;
};

struct Filing {
    FileList claimFolderList;
    QStringList numberList;
    filing::FilingResult file(const QString& claim, PictureCategory category, const QString& name,
                              RecordedPrompts& prompts) {
        return filing::fileInto({claim, category, name}, claimFolderList, numberList, prompts);
    }
};

} // namespace

TEST(Filing, StepsAndWhatTheyLeave) {
    TempDrive drive;
    drive.makeFolder("c:\\picture\\transfer");
    drive.writeFile("c:\\picture\\a.JPG", pictures::jpeg(20, 20));
    drive.writeFile("c:\\picture\\AB123456\\AB123456007.gif", "x");
    Filing filing;
    RecordedPrompts prompts;
    const filing::FilingResult result =
        filing.file("AB123456", PictureCategory::BeforeRepair, "a.JPG", prompts);
    EXPECT_TRUE(result.filed);
    EXPECT_EQ(result.filedName, QStringLiteral("AB123456008.JPG"));
    EXPECT_TRUE(result.temporaryName.isEmpty());
    EXPECT_EQ(prompts.calls, QStringList({"filed AB123456008.JPG"}));
    EXPECT_EQ(filing.claimFolderList.patternText(),
              QStringLiteral("c:\\picture\\AB123456\\*.jpg;c:\\picture\\AB123456\\*.gif"));
    EXPECT_EQ(filing.claimFolderList.items(), QStringList({"AB123456007.gif"}));
    EXPECT_EQ(filing.numberList, QStringList({"007"}));
}

TEST(Filing, RefusedResizeTouchesNothing) {
    TempDrive drive;
    drive.makeFolder("c:\\picture\\transfer");
    const QByteArray big = pictures::jpeg(900, 700, true);
    drive.writeFile("c:\\picture\\big.jpg", big);
    Filing filing;
    RecordedPrompts prompts(false);
    const filing::FilingResult result =
        filing.file("AB123456", PictureCategory::AfterRepair, "big.jpg", prompts);
    EXPECT_FALSE(result.filed);
    EXPECT_EQ(prompts.calls, QStringList({"question", "refused"}));
    EXPECT_EQ(drive.readFile("c:\\picture\\big.jpg"), big);
    EXPECT_FALSE(platform::files::exists("c:\\picture\\AB123456"));
}

TEST(Filing, ANameTakenInTheTransferFolderIsNeverReplaced) {
    TempDrive drive;
    const QByteArray waiting = pictures::jpeg(20, 20, false, 5);
    drive.writeFile("c:\\picture\\transfer\\AB123456001.jpg", waiting);
    drive.writeFile("c:\\picture\\a.jpg", pictures::jpeg(20, 20));
    Filing filing;
    RecordedPrompts prompts;
    try {
        filing.file("AB123456", PictureCategory::BeforeRepair, "a.jpg", prompts);
        ADD_FAILURE() << "filed over a waiting picture";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.message(), filing::messages::TargetExists.arg("c:\\picture\\transfer\\AB123456001.jpg"));
    }
    EXPECT_EQ(drive.readFile("c:\\picture\\transfer\\AB123456001.jpg"), waiting);
    EXPECT_TRUE(platform::files::fileExists("c:\\picture\\a.jpg"));
    EXPECT_TRUE(QDir(drive.host("c:\\picture\\AB123456")).isEmpty());
}

TEST(Filing, WhatADropRefusesFailsBeforeAnythingHappens) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\a.jpg", pictures::jpeg(20, 20));
    drive.writeFile("c:\\picture\\scan.gif", pictures::gif(QImage(12, 12, QImage::Format_RGB32)));
    const struct {
        const char* claim;
        PictureCategory category;
        const char* name;
        QString message;
    } cases[] = {
        {"..\\..\\x", PictureCategory::BeforeRepair, "a.jpg", filing::messages::ClaimNumberLength},
        {"AB\\12345", PictureCategory::BeforeRepair, "a.jpg",
         filing::messages::ClaimNumberCharacters.arg("AB\\12345")},
        {"AB123456", PictureCategory::DuringRepair, "scan.gif", filing::messages::PhotographsOnly},
        {"AB123456", PictureCategory::Document, "a.jpg", filing::messages::DocumentsOnly},
    };
    for (const auto& c : cases) {
        Filing filing;
        RecordedPrompts prompts;
        try {
            filing.file(c.claim, c.category, c.name, prompts);
            ADD_FAILURE() << c.claim << " " << c.name << " was filed";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(), c.message) << c.claim << " " << c.name;
        }
        EXPECT_TRUE(prompts.calls.isEmpty());
    }
    EXPECT_EQ(QDir(drive.host("c:\\picture")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"a.jpg", "scan.gif"}));
}
