#pragma once

#include "MessageSink.h"

#include <QStringList>

#include <functional>
#include <utility>

// Records the message boxes a window would show. A test takes the ones it expects; anything
// left over is an unexpected modal box, which VERIFY_NO_UNEXPECTED_BOX (called from every
// test's cleanup()) turns into a failure.
class RecordingSink final : public MessageSink
{
public:
    void ShowMessage(const QString& text) override
    {
        Messages.append(text);
        if (OnMessage)
            OnMessage();
    }
    void ShowError(const QString& text) override { Errors.append(text); }

    QStringList TakeMessages() { return std::exchange(Messages, {}); }
    QStringList TakeErrors() { return std::exchange(Errors, {}); }

    bool IsEmpty() const { return Messages.isEmpty() && Errors.isEmpty(); }
    QString Describe() const
    {
        return QStringLiteral("unexpected message boxes: messages [%1], errors [%2]")
            .arg(Messages.join(QStringLiteral(" | ")), Errors.join(QStringLiteral(" | ")));
    }

    // Runs while a plain box would be open, to look at the windows at that moment.
    std::function<void()> OnMessage;

private:
    QStringList Messages;
    QStringList Errors;
};

#define VERIFY_NO_UNEXPECTED_BOX(sink)                                                                       \
    do {                                                                                                     \
        const bool noBox = (sink).IsEmpty();                                                                 \
        const QString description = (sink).Describe();                                                       \
        (sink).TakeMessages();                                                                               \
        (sink).TakeErrors();                                                                                 \
        QVERIFY2(noBox, qPrintable(description));                                                            \
    } while (false)
