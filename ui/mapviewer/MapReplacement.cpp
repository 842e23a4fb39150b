#include "MapReplacement.h"

#include "ErrorReport.h"
#include "JpegLoader.h"
#include "LMAP.h"
#include "MapFiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>

namespace {

QString ChooseJpegFile(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Заменить карту"), QDir::homePath(),
                                        QStringLiteral("Рисунки JPEG (*.jpg *.jpeg *.JPG *.JPEG)"));
}

} // namespace

MapReplacement::MapReplacement(TLookMap& viewer, MessageSink& sink)
    : QObject(&viewer)
    , Menu(new QMenu(&viewer))
    , ReplaceAction(Menu->addAction(QStringLiteral("Заменить карту…")))
    , RestoreAction(Menu->addAction(QStringLiteral("Восстановить исходную карту")))
    , Viewer(viewer)
    , Sink(sink)
    , Chooser(ChooseJpegFile)
{
    setObjectName(QStringLiteral("MapReplacement"));
    Menu->setObjectName(QStringLiteral("MapMenu"));
    ReplaceAction->setObjectName(QStringLiteral("ReplaceMap"));
    RestoreAction->setObjectName(QStringLiteral("RestoreMap"));
    Viewer.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&Viewer, &QWidget::customContextMenuRequested, this, &MapReplacement::ShowMenu);
    connect(ReplaceAction, &QAction::triggered, this, [this] { RunGuarded(Sink, [this] { Replace(); }); });
    connect(RestoreAction, &QAction::triggered, this, [this] { RunGuarded(Sink, [this] { Restore(); }); });
}

void MapReplacement::SetFileChooser(FileChooser chooser)
{
    Chooser = std::move(chooser);
}

void MapReplacement::ShowMenu(const QPoint& at)
{
    const int n = Viewer.ShownMap();
    ReplaceAction->setEnabled(n != 0 && !UserMapFile(n).isEmpty());
    RestoreAction->setEnabled(n != 0 && QFileInfo::exists(UserMapFile(n)));
    Menu->popup(Viewer.mapToGlobal(at));
}

void MapReplacement::Replace()
{
    const int n = Viewer.ShownMap();
    const QString target = UserMapFile(n);
    if (target.isEmpty())
        return;
    const QString chosen = Chooser(&Viewer);
    if (chosen.isEmpty())
        return;
    LoadJpegFile(chosen); // throws with the loader's message when the picture cannot be read

    QFile source(chosen);
    if (!source.open(QIODevice::ReadOnly))
        throw CommandError(CannotOpenMessage(chosen, source));
    const QByteArray bytes = source.readAll();
    if (!QDir().mkpath(UserMapFolder()))
        throw CommandError(QStringLiteral("Не удалось создать папку «%1».").arg(UserMapFolder()));
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.commit())
        throw CommandError(QStringLiteral("Не удалось записать карту «%1»: %2.").arg(target, copy.errorString()));
    Viewer.LoadMap(n);
}

void MapReplacement::Restore()
{
    const int n = Viewer.ShownMap();
    const QString own = UserMapFile(n);
    if (own.isEmpty())
        return;
    QFile copy(own);
    if (copy.exists() && !copy.remove())
        throw CommandError(QStringLiteral("Не удалось удалить файл «%1»: %2.").arg(own, copy.errorString()));
    Viewer.LoadMap(n);
}
