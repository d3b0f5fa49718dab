#include "platform/gui/WidgetMessages.h"

#include <QMessageBox>
#include <QPushButton>
#include <map>

namespace platform::gui {
namespace {

QMessageBox::Icon iconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Plain:
        return QMessageBox::NoIcon;
    case BoxKind::Warning:
        return QMessageBox::Warning;
    case BoxKind::Error:
        return QMessageBox::Critical;
    case BoxKind::Information:
        return QMessageBox::Information;
    case BoxKind::Confirm:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleOf(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
    case BoxButton::Retry:
    case BoxButton::Ignore:
        return QMessageBox::AcceptRole;
    case BoxButton::Cancel:
    case BoxButton::Abort:
        return QMessageBox::RejectRole;
    case BoxButton::Yes:
        return QMessageBox::YesRole;
    case BoxButton::No:
        return QMessageBox::NoRole;
    }
    return QMessageBox::AcceptRole;
}

} // namespace

QString buttonCaption(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
        return QStringLiteral("OK");
    case BoxButton::Cancel:
        return QStringLiteral("Cancel");
    case BoxButton::Yes:
        return QStringLiteral("&Yes");
    case BoxButton::No:
        return QStringLiteral("&No");
    case BoxButton::Abort:
        return QStringLiteral("&Abort");
    case BoxButton::Retry:
        return QStringLiteral("&Retry");
    case BoxButton::Ignore:
        return QStringLiteral("&Ignore");
    }
    return {};
}

std::optional<BoxButton> escapeButton(const QList<BoxButton>& buttons) {
    for (BoxButton candidate : {BoxButton::Cancel, BoxButton::No, BoxButton::Ok})
        if (buttons.contains(candidate)) return candidate;
    return std::nullopt;
}

BoxButton WidgetMessageService::show(const BoxRequest& request) {
    QMessageBox box(iconOf(request.kind), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    std::map<QAbstractButton*, BoxButton> answers;
    const QList<BoxButton> buttons = request.buttons.isEmpty() ? QList{BoxButton::Ok} : request.buttons;
    const std::optional<BoxButton> escape = escapeButton(buttons);
    for (BoxButton button : buttons) {
        QPushButton* pushButton = box.addButton(buttonCaption(button), roleOf(button));
        answers[pushButton] = button;
        if (button == request.defaultButton) box.setDefaultButton(pushButton);
        if (escape && button == *escape) box.setEscapeButton(pushButton);
    }
    box.exec();
    const auto answer = answers.find(box.clickedButton());
    if (answer != answers.end()) return answer->second;
    return escape.value_or(BoxButton::Cancel);
}

void installWidgetMessages() {
    static WidgetMessageService service;
    setMessageService(&service);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    handleErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace platform::gui
