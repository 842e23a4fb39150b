#pragma once

#include <QObject>
#include <QString>

#include <functional>

class MessageSink;
class QAction;
class QMenu;
class QWidget;
class TLookMap;

// The map viewer's context menu: "Заменить карту…" puts a JPEG picture of the user's choice in
// place of the map shown, as a copy in the user's own folder of maps (no administrator rights
// needed); "Восстановить исходную карту" removes that copy, so the program's own map is shown
// again.
class MapReplacement final : public QObject
{
    Q_OBJECT

public:
    // Asks the user for a picture; an empty text when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent)>;

    MapReplacement(TLookMap& viewer, MessageSink& sink);

    // Tests choose the file without a dialog.
    void SetFileChooser(FileChooser chooser);

    QMenu* const Menu;
    QAction* const ReplaceAction;
    QAction* const RestoreAction;

private:
    void ShowMenu(const QPoint& at);
    // The picture is decoded first: one that cannot be read is refused with the loader's
    // message and nothing is copied. The copy replaces the user's previous one at once and
    // whole, or not at all.
    void Replace();
    void Restore();

    TLookMap& Viewer;
    MessageSink& Sink;
    FileChooser Chooser;
};
