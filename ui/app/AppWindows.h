#pragma once

#include <QString>

#include <memory>

class MessageSink;
class TFormProlet;
class TLookMap;
class SpanTableWindow;
class TProletTEMP;

// The windows of the program, created in this order: the main window (visible once the program
// shows it), then the map viewer, the intermediate-data window and the span table, all hidden.
struct AppWindows {
    std::unique_ptr<TFormProlet> FormProlet;
    std::unique_ptr<TLookMap> LookMap;
    std::unique_ptr<TProletTEMP> ProletTEMP;
    std::unique_ptr<SpanTableWindow> SpanTable;  // opened from its command on the menu bar

    AppWindows();
    AppWindows(AppWindows&&) noexcept;
    AppWindows& operator=(AppWindows&&) noexcept;
    ~AppWindows();
};

// Creates the windows; every message box of theirs goes to the sink.
AppWindows CreateAppWindows(MessageSink& sink, const QString& decimalSeparator);
