#include "HandlerGuard.h"

#include "ErrorReport.h"

#include <utility>

HandlerGuard::HandlerGuard(MessageSink& sink)
    : Sink(sink)
{
}

namespace {

// Keeps the nesting depth right however the handler ends.
class DepthScope
{
public:
    explicit DepthScope(int& depth)
        : Depth(depth)
    {
        ++Depth;
    }
    ~DepthScope() { --Depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

private:
    int& Depth;
};

} // namespace

void HandlerGuard::Run(const std::function<void()>& handler)
{
    if (Depth > 0) {
        // Nested: the error must not unwind through Qt's signal emission, so it is kept here and
        // thrown again in the outer handler's own code.
        DepthScope scope(Depth);
        try {
            handler();
        } catch (...) {
            if (!NestedError)
                NestedError = std::current_exception();
        }
        return;
    }
    NestedError = nullptr;
    RunGuarded(Sink, [this, &handler] {
        DepthScope scope(Depth);
        handler();
        RethrowNested();
    });
    NestedError = nullptr;
}

void HandlerGuard::RethrowNested()
{
    if (NestedError)
        std::rethrow_exception(std::exchange(NestedError, nullptr));
}
