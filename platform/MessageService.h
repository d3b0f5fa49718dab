#pragma once

#include <QList>
#include <QString>
#include <functional>

// Every message box of the system goes through one service; tests replace it with a scripted one that
// records each box and answers as the test says.
namespace platform {

enum class BoxKind { Plain, Warning, Error, Information, Confirm };
enum class BoxButton { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct BoxRequest {
    BoxKind kind = BoxKind::Plain;
    QString caption;
    QString text;
    QList<BoxButton> buttons{BoxButton::Ok};
    BoxButton defaultButton = BoxButton::Ok;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the box modally and gives back the button that closed it (Escape answers Cancel or No).
    virtual BoxButton show(const BoxRequest& request) = 0;
};

// The names of kinds and buttons, for logs and test reports.
const char* toString(BoxKind kind);
const char* toString(BoxButton button);

// The service in use; setMessageService(nullptr) puts the default back. The default, until a windowed
// program installs its own, writes each box to standard error and answers with the default button.
MessageService& messageService();
void setMessageService(MessageService* service);

// The executable's file name up to its first ".", its first letter in upper case and every letter after
// the first in lower case ("vorlex" and "VORLEX.EXE" both give "Vorlex").
QString applicationTitle();
QString titleFromFileName(const QString& fileName);

// A plain box: no icon, one OK button, the application's title as caption.
void showMessage(const QString& text);
// A typed box: caption "Warning", "Error", "Information" or "Confirm" with the matching icon; a Plain
// kind gets the application's title as caption.
BoxButton messageDlg(const QString& text, BoxKind kind, const QList<BoxButton>& buttons,
                     BoxButton defaultButton);
// The standard error box: error icon, OK, the application's title as caption, the message with a full
// stop added when its last character sorts after ".".
void showErrorBox(const QString& message);
QString errorBoxText(const QString& message);

// Runs one user action; an error that escapes it ends the action there (no rollback of the steps done)
// and is shown in the standard error box. Every event handler runs its body through this.
void handleErrors(const std::function<void()>& action);

} // namespace platform
