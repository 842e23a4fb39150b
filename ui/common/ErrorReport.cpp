#include "ErrorReport.h"

#include "MessageSink.h"

#include <new>

CommandError::CommandError(const QString& message)
    : std::runtime_error(message.toStdString())
    , Message(message)
{
}

QString WithFinalStop(const QString& text)
{
    if (!text.isEmpty() && text.back() > u'.')
        return text + u'.';
    return text;
}

void RunGuarded(MessageSink& sink, const std::function<void()>& handler)
{
    QString message;
    try {
        handler();
        return;
    } catch (const CommandError& error) {
        message = error.message();
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("Out of memory");
    } catch (const std::exception& error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    // The box is shown outside the catch blocks, so its nested event loop runs with no
    // exception in flight.
    sink.ShowError(WithFinalStop(message));
}
