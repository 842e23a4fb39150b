#pragma once

#include <exception>
#include <functional>

class MessageSink;

// Runs the event handlers of a window through the general error report. Setting a field's text
// from a handler runs that field's change rule at once, nested inside the first handler; an
// error in the nested rule ends the outer handler too (at the point where it set the text) and
// is reported once, by the outermost handler.
class HandlerGuard
{
public:
    explicit HandlerGuard(MessageSink& sink);

    // Runs one handler: reports its error when it is the outermost, hands it outwards otherwise.
    void Run(const std::function<void()>& handler);
    // Called right after an action that may have run nested handlers: throws their error again,
    // so that the calling handler stops there.
    void RethrowNested();


private:
    MessageSink& Sink;
    int Depth = 0;
    std::exception_ptr NestedError;
};
