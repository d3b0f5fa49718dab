#include "platform/MessageService.h"
#include "platform/Error.h"
#include "platform/gui/WidgetMessages.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TempDrive.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using platform::BoxButton;
using platform::BoxKind;

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithLettersAfterTheFirstInLowerCase) {
    const struct {
        const char* fileName;
        const char* title;
    } cases[] = {
        {"vorlex", "Vorlex"},
        {"VORLEX.EXE", "Vorlex"},
        {"Vorlex.exe", "Vorlex"},
        {"vorLEX.tar.gz", "Vorlex"},
        {"test_platform", "Test_platform"},
        {".hidden", ""},
        {"x", "X"},
        {"ABC-Def", "Abc-def"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::titleFromFileName(c.fileName), QString(c.title)) << c.fileName;
}

TEST(ApplicationTitle, ComesFromTheRunningExecutable) {
    EXPECT_EQ(platform::applicationTitle(), "Test_platform");
}

TEST(ErrorBox, AddsAFullStopWhenTheLastCharacterSortsAfterTheDot) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"File not found", "File not found."},
        {"Failed to set data for 'Garage Name'", "Failed to set data for 'Garage Name'"},
        {"Done.", "Done."},
        {"Really?", "Really?."},
        {"Stop!", "Stop!"},
        {"Count 7", "Count 7."},
        {"Path c:/", "Path c:/."},
        {"ends with a dash -", "ends with a dash -"},
        {"ends with a comma,", "ends with a comma,"},
        {"trailing space ", "trailing space "},
        {"(bracketed)", "(bracketed)"},
        {"ไม่พบไฟล์", "ไม่พบไฟล์."},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::errorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown))
            << c.message;
}

TEST(ErrorBox, HasTheErrorIconOkAndTheApplicationTitle) {
    ScriptedMessages boxes;
    platform::showErrorBox("Disk full");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(boxes.last().caption, "Test_platform");
    EXPECT_EQ(boxes.last().text, "Disk full.");
    EXPECT_EQ(boxes.last().buttons, QList{BoxButton::Ok});
}

TEST(MessageBoxes, PlainAndTypedBoxesCarryTheirCaptions) {
    ScriptedMessages boxes;
    platform::showMessage("ลงทะเบียนเรียบร้อย");
    const struct {
        BoxKind kind;
        const char* caption;
    } typed[] = {{BoxKind::Warning, "Warning"},
                 {BoxKind::Error, "Error"},
                 {BoxKind::Information, "Information"},
                 {BoxKind::Confirm, "Confirm"},
                 {BoxKind::Plain, "Test_platform"}};
    for (const auto& t : typed)
        platform::messageDlg("text", t.kind, {BoxButton::Ok}, BoxButton::Ok);
    ASSERT_EQ(boxes.count(), 6);
    EXPECT_EQ(boxes.boxes()[0].kind, BoxKind::Plain);
    EXPECT_EQ(boxes.boxes()[0].caption, "Test_platform");
    EXPECT_EQ(boxes.boxes()[0].text, "ลงทะเบียนเรียบร้อย");
    EXPECT_EQ(boxes.boxes()[0].buttons, QList{BoxButton::Ok});
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(boxes.boxes()[i + 1].kind, typed[i].kind);
        EXPECT_EQ(boxes.boxes()[i + 1].caption, typed[i].caption);
    }
}

TEST(MessageBoxes, ScriptedAnswersComeInTurnThenTheDefaultButton) {
    ScriptedMessages boxes;
    boxes.answer(BoxButton::No);
    const QList<BoxButton> yesNo{BoxButton::Yes, BoxButton::No};
    EXPECT_EQ(platform::messageDlg("Resize?", BoxKind::Confirm, yesNo, BoxButton::Yes), BoxButton::No);
    EXPECT_EQ(platform::messageDlg("Resize?", BoxKind::Confirm, yesNo, BoxButton::Yes), BoxButton::Yes);
    EXPECT_EQ(boxes.last().defaultButton, BoxButton::Yes);
    EXPECT_EQ(boxes.last().buttons, yesNo);
}

TEST(MessageBoxes, ScriptedServiceGoesAwayWithItsScope) {
    {
        ScriptedMessages boxes;
        EXPECT_EQ(&platform::messageService(), &boxes);
        {
            ScriptedMessages inner;
            platform::showMessage("inner");
            EXPECT_EQ(inner.count(), 1);
        }
        platform::showMessage("outer");
        EXPECT_EQ(boxes.texts(), QStringList{"outer"});
    }
    EXPECT_EQ(dynamic_cast<ScriptedMessages*>(&platform::messageService()), nullptr);
}

TEST(HandleErrors, AnEscapingErrorEndsTheActionThereAndIsShown) {
    ScriptedMessages boxes;
    const struct {
        std::function<void()> throwIt;
        const char* shown;
    } cases[] = {
        {[] { throw platform::Error("Invalid data type for 'Garage Name'"); },
         "Invalid data type for 'Garage Name'"},
        {[] { throw std::runtime_error("low level"); }, "low level."},
        {[] { throw 42; }, "Unknown error."},
    };
    for (const auto& c : cases) {
        boxes.clear();
        int stepsDone = 0;
        platform::handleErrors([&] {
            ++stepsDone;
            c.throwIt();
            ++stepsDone;
        });
        EXPECT_EQ(stepsDone, 1);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().kind, BoxKind::Error);
        EXPECT_EQ(boxes.last().text, c.shown);
    }
    int steps = 0;
    platform::handleErrors([&] { ++steps; });
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(boxes.count(), 1);
}

TEST(HandleErrors, TheApplicationObjectCatchesWhatAHandlerLetThrough) {
    ASSERT_NE(dynamic_cast<platform::gui::Application*>(QCoreApplication::instance()), nullptr);
    ScriptedMessages boxes;
    struct Thrower : QObject {
        int events = 0;
        bool event(QEvent*) override {
            ++events;
            throw platform::Error("boom");
        }
    } thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCoreApplication::sendEvent(&thrower, &event);
    EXPECT_EQ(thrower.events, 2);
    EXPECT_EQ(boxes.texts(), (QStringList{"boom.", "boom."}));
}

namespace {

struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

} // namespace

TEST(WidgetMessages, BoxesShowIconCaptionButtonsAndDefault) {
    TempDrive drive;
    platform::gui::WidgetMessageService service;
    platform::setMessageService(&service);
    struct Case {
        BoxKind kind;
        QList<BoxButton> buttons;
        BoxButton defaultButton;
        int key;
        QString click;
        QMessageBox::Icon icon;
        QString caption;
        QStringList captions;
        BoxButton answer;
    };
    const Case cases[] = {
        {BoxKind::Confirm,
         {BoxButton::Yes, BoxButton::No},
         BoxButton::Yes,
         Qt::Key_Escape,
         {},
         QMessageBox::Question,
         "Confirm",
         {"&Yes", "&No"},
         BoxButton::No},
        {BoxKind::Confirm,
         {BoxButton::Yes, BoxButton::No},
         BoxButton::No,
         Qt::Key_Return,
         {},
         QMessageBox::Question,
         "Confirm",
         {"&Yes", "&No"},
         BoxButton::No},
        {BoxKind::Warning,
         {BoxButton::Ok},
         BoxButton::Ok,
         Qt::Key_Escape,
         {},
         QMessageBox::Warning,
         "Warning",
         {"OK"},
         BoxButton::Ok},
        {BoxKind::Information,
         {BoxButton::Ok, BoxButton::Cancel},
         BoxButton::Ok,
         Qt::Key_Escape,
         {},
         QMessageBox::Information,
         "Information",
         {"OK", "Cancel"},
         BoxButton::Cancel},
        {BoxKind::Error,
         {BoxButton::Yes, BoxButton::No},
         BoxButton::No,
         0,
         "&Yes",
         QMessageBox::Critical,
         "Error",
         {"&Yes", "&No"},
         BoxButton::Yes},
        {BoxKind::Plain,
         {BoxButton::Ok},
         BoxButton::Ok,
         Qt::Key_Return,
         {},
         QMessageBox::NoIcon,
         "Test_platform",
         {"OK"},
         BoxButton::Ok},
    };
    for (const Case& c : cases) {
        auto seen = std::make_shared<SeenBox>();
        std::function<void()> poll;
        poll = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                QTimer::singleShot(10, poll);
                return;
            }
            seen->caption = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            for (QAbstractButton* b : box->buttons())
                seen->buttons.append(b->text());
            if (box->defaultButton()) seen->defaultButton = box->defaultButton()->text();
            if (!c.click.isEmpty()) {
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == c.click) b->click();
                return;
            }
            QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
        };
        QTimer::singleShot(0, poll);
        const BoxButton answer = platform::messageDlg("ข้อความ", c.kind, c.buttons, c.defaultButton);
        EXPECT_EQ(answer, c.answer) << toString(c.kind);
        EXPECT_EQ(seen->icon, c.icon) << toString(c.kind);
        EXPECT_EQ(seen->caption, c.caption);
        EXPECT_EQ(seen->text, "ข้อความ");
        QStringList sorted = seen->buttons;
        sorted.sort();
        QStringList expected = c.captions;
        expected.sort();
        EXPECT_EQ(sorted, expected) << toString(c.kind);
        EXPECT_EQ(seen->defaultButton, platform::gui::buttonCaption(c.defaultButton));
    }
    platform::setMessageService(nullptr);
}
