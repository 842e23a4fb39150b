#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class MapImage;
class MessageSink;
class QScrollArea;

// The map viewer: shows one of the three region maps, zoomed with the mouse wheel and moved
// with the scroll bars. Created hidden at start-up; closing it only hides it.
class TLookMap final : public QWidget
{
    Q_OBJECT

public:
    explicit TLookMap(MessageSink& sink, QWidget* parent = nullptr);

    // Loads map 1 (snow), 2 (wind) or 3 (ice) and sizes the image to the scroll area; any
    // other number loads nothing. Throws CommandError when the file cannot be read, leaving
    // the picture and its size as they were.
    void LoadMap(int n);
    // Gives the image the scroll area's size, undoing any zoom.
    void FormSize();
    // One step of the wheel away from the user (zoom in) or towards the user (zoom out).
    void FormMouseWheelUp();
    void FormMouseWheelDown();

    // The program looks for the maps beside its executable; tests use a folder of their own.
    void SetProgramFolder(const QString& folder);

    // The number of the map last asked for (1 to 3), also when its file could not be read;
    // 0 before any.
    int ShownMap() const { return MapNumber; }

    QScrollArea* const ScrollBox1;
    MapImage* const Image1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void TurnWheel(int angleDelta);

    MessageSink& Sink;
    QImage Image2; // the picture as loaded from its file
    QString Folder;
    int WheelAngle = 0; // turned since the last whole notch, in eighths of a degree
    int MapNumber = 0;
};
