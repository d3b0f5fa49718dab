#pragma once

#include "transfer/Upload.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The upload form: made for one transfer run and never shown. Its boxes hold the credentials; OK (the
// default button, also Enter) runs the upload, Cancel closes the form.
class TLogin : public QDialog {
    Q_OBJECT

public:
    explicit TLogin(QWidget* parent = nullptr);

    QLabel* userLabel;         // Label1
    QLineEdit* userEdit;       // Edit1
    QLabel* passwordLabel;     // Label2
    QLineEdit* passwordEdit;   // Edit2
    QPushButton* okButton;     // BitBtn1
    QPushButton* cancelButton; // BitBtn2

    // What OK runs: the transfer run's upload.
    std::function<void()> onUpload;

    // The settings with the boxes' user name and password.
    transfer::UploadSettings withCredentials(transfer::UploadSettings settings) const;
    void BitBtn1Click();
    void BitBtn2Click();
};
