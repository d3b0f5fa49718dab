#pragma once

#include "app/Settings.h"
#include "app/ui/Program.h"
#include "platform/Registry.h"
#include "register/Install.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TempDrive.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// A program started in the test's own drive folder and settings, without the splash's wait, with every
// message box scripted.
class ProgramTest : public ::testing::Test {
protected:
    TempDrive drive;
    ScriptedMessages boxes;

    // The register's tables are installed beside the system, as on a garage's machine.
    void SetUp() override { reg::install::run(); }

    static Program::Options noSplashWait() { return Program::Options{0}; }

    // Writes a value under the program's key as another program would, of any type.
    void setSetting(const QString& name, const QVariant& value) const {
        platform::Registry registry;
        registry.openKey(settings::Key, true);
        QSettings(platform::Registry::location(settings::Key), QSettings::IniFormat).setValue(name, value);
    }
    QVariant setting(const QString& name) const {
        return QSettings(platform::Registry::location(settings::Key), QSettings::IniFormat).value(name);
    }
    bool keyExists() const { return platform::Registry().keyExists(settings::Key); }

    // Runs `step` from the event loop once `ready` holds (checked every 10 ms).
    static void when(std::function<bool()> ready, std::function<void()> step) {
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [poll, ready = std::move(ready), step = std::move(step)] {
            if (ready())
                step();
            else
                QTimer::singleShot(10, *poll);
        };
        QTimer::singleShot(0, *poll);
    }

    // Ends every event loop with a failure when the program has not ended within `ms`.
    static void watchdog(int ms = 20000) {
        QTimer::singleShot(ms, qApp, [] {
            ADD_FAILURE() << "the program did not end";
            QApplication::exit(99);
        });
    }
};
