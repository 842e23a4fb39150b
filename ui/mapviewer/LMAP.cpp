#include "LMAP.h"

#include "ErrorReport.h"
#include "JpegLoader.h"
#include "MapFiles.h"
#include "MapImage.h"
#include "MapReplacement.h"
#include "MapZoom.h"

#include <QFileInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// One notch of a mouse wheel, as Qt reports it.
constexpr int WheelNotch = QWheelEvent::DefaultDeltasPerStep;

} // namespace

TLookMap::TLookMap(MessageSink& sink, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ScrollBox1(new QScrollArea(this))
    , Image1(new MapImage)
    , Sink(sink)
{
    setObjectName(QStringLiteral("LookMap"));
    setWindowTitle(QStringLiteral("Карта"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setBackgroundRole(QPalette::Button);
    setForegroundRole(QPalette::WindowText);
    // 710 × 440 outside with the classic frame: a client area of 702 × 406.
    move(246, 444);
    resize(702, 406);

    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame); // the scroll area is exactly the client area
    ScrollBox1->setBackgroundRole(QPalette::Button);
    Image1->setObjectName(QStringLiteral("Image1"));
    // Until a map is read the viewer says how to show one.
    Image1->SetEmptyText(QStringLiteral("Карта не загружена.\nЧтобы показать свой рисунок, щелкните здесь правой "
                                        "кнопкой мыши и выберите «Заменить карту…»."));
    ScrollBox1->setWidget(Image1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrollBox1);
    layout->activate(); // size the scroll area now: the image takes its size before first shown

    // The wheel zooms wherever it is turned over the viewer, also over the scroll bars.
    Image1->installEventFilter(this);
    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->horizontalScrollBar()->installEventFilter(this);
    ScrollBox1->verticalScrollBar()->installEventFilter(this);

    // The context menu that puts the user's own map in place of the program's.
    new MapReplacement(*this, Sink);

    FormCreate();
}

void TLookMap::FormCreate()
{
    Image1->resize(ScrollBox1->size());
}

void TLookMap::LoadMap(int n)
{
    const QString folder = Folder.isEmpty() ? ProgramFolder() : Folder;
    const QString path = MapFilePath(folder, n);
    if (!path.isEmpty()) {
        MapNumber = n;
        // In none of its places: the message says where the program looked and what to do.
        if (!QFileInfo::exists(path))
            throw CommandError(MissingMapMessage(folder, n));
        Image2 = LoadJpegFile(path);
        Image1->SetPicture(Image2);
    }
    FormSize();
}

void TLookMap::FormSize()
{
    // The window keeps its size: the user's choice of size stays from one map to the next.
    Image1->resize(ScrollBox1->size());
}

void TLookMap::FormMouseWheelUp()
{
    Image1->resize(ZoomInSize(Image1->size(), ScrollBox1->size()));
}

void TLookMap::FormMouseWheelDown()
{
    Image1->resize(ZoomOutSize(Image1->size(), ScrollBox1->size()));
}

void TLookMap::SetProgramFolder(const QString& folder)
{
    Folder = folder;
}

bool TLookMap::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        const int angle = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (angle != 0) {
            RunGuarded(Sink, [this, angle] { TurnWheel(angle); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TLookMap::TurnWheel(int angleDelta)
{
    // High-resolution wheels report fractions of a notch: one step per whole notch turned,
    // the rest kept for the next event in the same direction.
    if ((WheelAngle < 0) != (angleDelta < 0))
        WheelAngle = 0;
    const qint64 turned = qint64(WheelAngle) + angleDelta;
    WheelAngle = int(turned % WheelNotch);
    const bool zoomIn = turned > 0;
    for (qint64 steps = (zoomIn ? turned : -turned) / WheelNotch; steps > 0; --steps) {
        const QSize before = Image1->size();
        zoomIn ? FormMouseWheelUp() : FormMouseWheelDown();
        if (Image1->size() == before)
            break; // every further step would do nothing as well
    }
}
