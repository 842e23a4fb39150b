#include "SelectorLists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

namespace {

QPalette OpenListPalette(const QComboBox& box)
{
    const QColor background = box.palette().color(QPalette::Active, QPalette::Button);
    const QColor text = box.palette().color(QPalette::Active, QPalette::ButtonText);
    QPalette palette = box.view()->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const QPalette::ColorRole role : {QPalette::Base, QPalette::AlternateBase, QPalette::Window, QPalette::Button})
            palette.setColor(group, role, background);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, text);
    }
    return palette;
}

// The combo box gives its popup frame the style's menu palette again whenever its own palette
// or style changes; the frame takes the list's colours back each time it is shown.
class OpenListColours final : public QObject
{
public:
    explicit OpenListColours(QComboBox& box)
        : QObject(&box)
        , Box(box)
    {
        Apply();
        Box.view()->window()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            Apply();
        return QObject::eventFilter(watched, event);
    }

private:
    void Apply()
    {
        const QPalette palette = OpenListPalette(Box);
        Box.view()->setPalette(palette);
        Box.view()->window()->setPalette(palette);
    }

    QComboBox& Box;
};

} // namespace

void ColourOpenList(QComboBox& box)
{
    new OpenListColours(box);
}
