#include "app/FileList.h"
#include "app/WorkingFolders.h"
#include "app/cli/Commands.h"
#include "filing/Category.h"
#include "filing/Filing.h"
#include "filing/InboxGrid.h"
#include "filing/Messages.h"
#include "platform/Error.h"

#include <optional>

namespace {

int usage(CliStreams io) {
    io.err
        << "usage: vorlex-cli file --claim N --category before|during|after|document [--resize yes|no] NAME\n"
           "Files the picture NAME of c:\\picture into claim N as a drop on the category does; --resize\n"
           "answers the question asked for a picture over 200 Kb.\n";
    return 2;
}

// The page's questions, answered from the command line.
class CommandPrompts : public filing::FilingPrompts {
public:
    CommandPrompts(std::optional<bool> resize, CliStreams io) : resize_(resize), io_(io) {}

    bool confirmResize() override {
        if (!resize_)
            throw platform::Error(
                QStringLiteral("the picture holds more than 200 Kb: say --resize yes or --resize no"));
        return *resize_;
    }
    void refuseOversize() override { io_.err << filing::messages::TooLargeToTransfer << '\n'; }
    void beep() override { io_.err << "the picture could not be stretched and is filed at its own size\n"; }
    // Printed as soon as the picture is in both folders, also when removing it from the inbox then fails.
    void filed(const QString& filedName) override { io_.out << filedName << '\n'; }

private:
    std::optional<bool> resize_;
    CliStreams io_;
};

} // namespace

int runFile(const QStringList& args, CliStreams io) {
    filing::FilingRequest request;
    std::optional<bool> resize;
    bool haveClaim = false;
    bool haveCategory = false;
    QStringList names;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (word == QLatin1String("--claim") && hasValue) {
            request.claimNumber = args.at(++i);
            haveClaim = true;
        } else if (word == QLatin1String("--category") && hasValue) {
            if (!filing::categoryFromWord(args.at(++i), &request.category)) return usage(io);
            haveCategory = true;
        } else if (word == QLatin1String("--resize") && hasValue) {
            const QString answer = args.at(++i);
            if (answer != QLatin1String("yes") && answer != QLatin1String("no")) return usage(io);
            resize = answer == QLatin1String("yes");
        } else if (word.startsWith(QLatin1String("--"))) {
            return usage(io);
        } else {
            names << word;
        }
    }
    if (!haveClaim || !haveCategory || names.size() != 1) return usage(io);
    request.pictureName = names.first();

    folders::createWorkingFolders();
    FileList inbox(QString(), filing::inboxPatternText());
    if (!inbox.items().contains(request.pictureName)) {
        io.err << request.pictureName << " is not among the new pictures in " << folders::PictureRoot << '\n';
        return 1;
    }

    FileList claimFolderList;
    QStringList numberList;
    CommandPrompts prompts(resize, io);
    return filing::fileInto(request, claimFolderList, numberList, prompts).filed ? 0 : 1;
}
