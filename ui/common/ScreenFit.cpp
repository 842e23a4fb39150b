#include "ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QRect FitFrameIntoArea(const QRect& frame, const QRect& area, bool sizeable)
{
    QRect fitted = frame;
    if (sizeable) {
        fitted.setWidth(std::min(fitted.width(), area.width()));
        fitted.setHeight(std::min(fitted.height(), area.height()));
    }
    // Right and bottom first, then left and top: a window larger than the area keeps its
    // caption and its left edge on screen.
    if (fitted.right() > area.right())
        fitted.moveRight(area.right());
    if (fitted.bottom() > area.bottom())
        fitted.moveBottom(area.bottom());
    if (fitted.left() < area.left())
        fitted.moveLeft(area.left());
    if (fitted.top() < area.top())
        fitted.moveTop(area.top());
    return fitted;
}

namespace {

class ScreenFit final : public QObject
{
public:
    explicit ScreenFit(QWidget& window)
        : QObject(&window)
        , Window(window)
    {
        Window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &Window) {
            switch (event->type()) {
            case QEvent::Show:
                Fit();
                break;
            case QEvent::Move:
            case QEvent::Resize:
                // The window system tells the size of the frame only once the window is on
                // screen: fit once more when it is known, then leave the window to the user.
                if (FrameUnknown && Window.isVisible() && FrameKnown())
                    Fit();
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool FrameKnown() const { return Window.frameGeometry().size() != Window.size(); }

    void Fit()
    {
        FrameUnknown = !FrameKnown();
        // A window's position is that of its frame; until it is shown, the frame geometry may
        // still be reckoned around the client area's old place.
        const QRect frame(Window.pos(), Window.frameGeometry().size());
        QScreen* screen = QGuiApplication::screenAt(frame.center());
        if (screen == nullptr)
            screen = Window.screen();
        if (screen == nullptr)
            return;
        const bool sizeable = Window.minimumSize() != Window.maximumSize();
        const QRect fitted = FitFrameIntoArea(frame, screen->availableGeometry(), sizeable);
        if (fitted.size() != frame.size())
            Window.resize(Window.size() - (frame.size() - fitted.size()));
        if (fitted.topLeft() != frame.topLeft())
            Window.move(fitted.topLeft());
    }

    QWidget& Window;
    bool FrameUnknown = false;
};

} // namespace

void KeepOnScreen(QWidget& window)
{
    new ScreenFit(window);
}
