#include "AppWindows.h"

#include "LMAP.h"
#include "ScreenFit.h"
#include "SpanTableWindow.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QMenuBar>

AppWindows::AppWindows() = default;
AppWindows::AppWindows(AppWindows&&) noexcept = default;
AppWindows& AppWindows::operator=(AppWindows&&) noexcept = default;

// The main window goes first: it refers to the other two.
AppWindows::~AppWindows()
{
    FormProlet.reset();
}

AppWindows CreateAppWindows(MessageSink& sink, const QString& decimalSeparator)
{
    AppWindows windows;
    windows.FormProlet = std::make_unique<TFormProlet>(sink, decimalSeparator);
    windows.LookMap = std::make_unique<TLookMap>(sink);
    // Only the main window ends the program when it is closed.
    windows.LookMap->setAttribute(Qt::WA_QuitOnClose, false);
    windows.ProletTEMP = std::make_unique<TProletTEMP>();
    windows.FormProlet->AttachWindows(windows.LookMap.get(), windows.ProletTEMP.get());
    windows.SpanTable = std::make_unique<SpanTableWindow>(*windows.FormProlet, sink);
    windows.SpanTable->AddCommand(*windows.FormProlet->menuBar());
    // Each window stands at its own place where it fits the screen, moved just enough where not.
    KeepOnScreen(*windows.FormProlet);
    KeepOnScreen(*windows.LookMap);
    KeepOnScreen(*windows.ProletTEMP);
    KeepOnScreen(*windows.SpanTable);
    return windows;
}
