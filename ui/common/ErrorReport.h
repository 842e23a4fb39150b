#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class MessageSink;

// An error that ends the command in progress; the event handler's guard shows its message.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString& message);

    const QString& message() const noexcept { return Message; }

private:
    QString Message;
};

// The text as the error box shows it: a "." is appended when the last character sorts after ".".
QString WithFinalStop(const QString& text);

// Runs one event handler. An error it does not handle itself is shown in the error box and
// the program goes on with the next event: no exception ever reaches Qt's event loop.
void RunGuarded(MessageSink& sink, const std::function<void()>& handler);
