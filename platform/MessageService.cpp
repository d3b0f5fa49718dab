#include "platform/MessageService.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <exception>

namespace platform {
namespace {

// Until a windowed program installs its own service, boxes go to standard error and are answered with
// their default button, so that logic run without windows never waits for a click.
class StandardErrorMessages : public MessageService {
public:
    BoxButton show(const BoxRequest& request) override {
        QTextStream err(stderr);
        err << '[' << toString(request.kind) << "] " << request.caption << ": " << request.text << '\n';
        return request.defaultButton;
    }
};

MessageService*& installedService() {
    static MessageService* service = nullptr;
    return service;
}

QString typedCaption(BoxKind kind) {
    return kind == BoxKind::Plain ? applicationTitle() : QString::fromLatin1(toString(kind));
}

} // namespace

MessageService& messageService() {
    static StandardErrorMessages fallback;
    MessageService* service = installedService();
    return service ? *service : fallback;
}

void setMessageService(MessageService* service) {
    installedService() = service;
}

QString titleFromFileName(const QString& fileName) {
    const QString title = fileName.section('.', 0, 0);
    return title.left(1).toUpper() + title.mid(1).toLower();
}

QString applicationTitle() {
    if (QCoreApplication::instance())
        return titleFromFileName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    return titleFromFileName(QCoreApplication::applicationName());
}

void showMessage(const QString& text) {
    messageService().show(
        BoxRequest{BoxKind::Plain, applicationTitle(), text, {BoxButton::Ok}, BoxButton::Ok});
}

BoxButton messageDlg(const QString& text, BoxKind kind, const QList<BoxButton>& buttons,
                     BoxButton defaultButton) {
    return messageService().show(BoxRequest{kind, typedCaption(kind), text, buttons, defaultButton});
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar('.')) return message + '.';
    return message;
}

void showErrorBox(const QString& message) {
    messageService().show(BoxRequest{
        BoxKind::Error, applicationTitle(), errorBoxText(message), {BoxButton::Ok}, BoxButton::Ok});
}

void handleErrors(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        showErrorBox(e.message());
    } catch (const std::exception& e) {
        showErrorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("Unknown error"));
    }
}

const char* toString(BoxKind kind) {
    switch (kind) {
    case BoxKind::Plain:
        return "Plain";
    case BoxKind::Warning:
        return "Warning";
    case BoxKind::Error:
        return "Error";
    case BoxKind::Information:
        return "Information";
    case BoxKind::Confirm:
        return "Confirm";
    }
    return "?";
}

const char* toString(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
        return "Ok";
    case BoxButton::Cancel:
        return "Cancel";
    case BoxButton::Yes:
        return "Yes";
    case BoxButton::No:
        return "No";
    case BoxButton::Abort:
        return "Abort";
    case BoxButton::Retry:
        return "Retry";
    case BoxButton::Ignore:
        return "Ignore";
    }
    return "?";
}

} // namespace platform
