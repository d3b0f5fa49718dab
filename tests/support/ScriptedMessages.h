#pragma once

#include "platform/MessageService.h"
#include "tests/support/QtPrinters.h"

#include <QList>
#include <QQueue>
#include <functional>
#include <ostream>

// Stands in for the message service while it lives: records every box and answers from a queue the test
// fills; with the queue empty a box is answered with its default button. Put back the service that was
// installed before when it goes.
class ScriptedMessages : public platform::MessageService {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    platform::BoxButton show(const platform::BoxRequest& request) override;

    // Queues the answer to the next box not yet answered.
    void answer(platform::BoxButton button) { answers_.enqueue(button); }
    // Called with each box while it is "open", before it is answered (e.g. to look at the windows).
    void onShow(std::function<void(const platform::BoxRequest&)> hook) { hook_ = std::move(hook); }

    const QList<platform::BoxRequest>& boxes() const { return boxes_; }
    QStringList texts() const;
    qsizetype count() const { return boxes_.size(); }
    const platform::BoxRequest& last() const { return boxes_.last(); }
    void clear() { boxes_.clear(); }

private:
    platform::MessageService* previous_;
    QList<platform::BoxRequest> boxes_;
    QQueue<platform::BoxButton> answers_;
    std::function<void(const platform::BoxRequest&)> hook_;
};

namespace platform {
// GoogleTest prints box kinds and buttons by name.
void PrintTo(BoxKind kind, std::ostream* os);
void PrintTo(BoxButton button, std::ostream* os);
} // namespace platform
