#include "platform/Registry.h"
#include "platform/Error.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDrive.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSize>
#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("\\SOFTWARE\\Tramuvel");
const QString Name = QStringLiteral("Garage Name");

} // namespace

TEST(Registry, KeysLiveInTheTestsOwnSettingsFolder) {
    TempDrive drive;
    EXPECT_EQ(platform::Registry::location(Key), drive.settingsFolder() + "/SOFTWARE/Tramuvel.conf");
}

TEST(Registry, AMissingKeyIsCreatedOnlyWhenAllowed) {
    TempDrive drive;
    platform::Registry registry;
    EXPECT_FALSE(registry.keyExists(Key));
    EXPECT_FALSE(registry.openKey(Key, false));
    EXPECT_FALSE(registry.hasCurrentKey());
    EXPECT_FALSE(QFileInfo::exists(platform::Registry::location(Key)));
    EXPECT_TRUE(registry.openKey(Key, true));
    EXPECT_TRUE(registry.keyExists(Key));
    EXPECT_TRUE(QFileInfo(platform::Registry::location(Key)).isFile());
    EXPECT_FALSE(registry.valueExists(Name));
    EXPECT_EQ(registry.readString(Name), "");
    platform::Registry other;
    EXPECT_TRUE(other.openKey("\\software\\TRAMUVEL", false));
}

TEST(Registry, StringsAreKeptExactlyAsWritten) {
    TempDrive drive;
    for (const char* text : {"Auto Garage", "  spaced  ", "", "อู่ช่างเอก", "a=b;c,d \"quoted\" \\ back"}) {
        {
            platform::Registry writer;
            ASSERT_TRUE(writer.openKey(Key, true));
            writer.writeString(Name, QString::fromUtf8(text));
        }
        platform::Registry reader;
        ASSERT_TRUE(reader.openKey(Key, false));
        EXPECT_TRUE(reader.valueExists(Name)) << text;
        EXPECT_EQ(reader.readString(Name), QString::fromUtf8(text));
        EXPECT_EQ(reader.readString("garage NAME"), QString::fromUtf8(text)) << "names ignore case";
    }
}

TEST(Registry, ReadingAValueOfAnotherTypeFails) {
    TempDrive drive;
    const QVariant others[] = {QStringList{"one", "two"}, QByteArray("\x01\x02", 2), QSize(3, 4)};
    for (const QVariant& other : others) {
        platform::Registry registry;
        ASSERT_TRUE(registry.openKey(Key, true));
        QSettings(platform::Registry::location(Key), QSettings::IniFormat).setValue(Name, other);
        EXPECT_EQ(errorOf([&] { registry.readString(Name); }), "Invalid data type for 'Garage Name'")
            << other.typeName();
    }
}

TEST(Registry, WritingWithoutAnOpenKeyFails) {
    TempDrive drive;
    platform::Registry neverOpened;
    EXPECT_EQ(errorOf([&] { neverOpened.writeString(Name, "x"); }), "Failed to set data for 'Garage Name'");
    EXPECT_FALSE(neverOpened.openKey(Key, false));
    EXPECT_EQ(errorOf([&] { neverOpened.writeString(Name, "x"); }), "Failed to set data for 'Garage Name'");
    EXPECT_FALSE(QFileInfo::exists(platform::Registry::location(Key)));

    platform::Registry keyGoneSince;
    ASSERT_TRUE(keyGoneSince.openKey(Key, true));
    ASSERT_TRUE(QFile::remove(platform::Registry::location(Key)));
    EXPECT_EQ(errorOf([&] { keyGoneSince.writeString("Drive C", "x"); }), "Failed to set data for 'Drive C'");
    EXPECT_FALSE(keyGoneSince.keyExists(Key));
}
