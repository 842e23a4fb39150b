// Loaded into the unchanged `korvelin` with LD_PRELOAD by the start-up benchmark. Once the
// first window is exposed and has been painted, it writes one line on standard error (the
// window's caption, the paint events delivered so far and the peak resident memory) and ends
// the program the ordinary way. The program itself has no option for this and needs none.

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QWindow>

#include <cstdio>

namespace {

// The peak resident memory of this process so far, in KiB, from /proc/self/status.
long PeakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

class ShownProbe final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!Reported && event->type() == QEvent::Expose && window != nullptr && window->isExposed()) {
            Reported = true;
            // Queued: the window paints itself while it handles this event; report after that.
            QMetaObject::invokeMethod(
                this, [this, shown = QPointer<QWindow>(window)] { Report(shown ? shown->title() : QString()); },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Report(const QString& title) const
    {
        std::fprintf(stderr, "korvelin-startup-probe: shown \"%s\" after %d paint events, VmHWM %ld kB\n",
                     qPrintable(title), Paints, PeakResidentKiB());
        std::fflush(stderr);
        QCoreApplication::exit(0);
    }

    bool Reported = false;
    int Paints = 0; // widgets painted so far
};

void InstallShownProbe()
{
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new ShownProbe(application));
}

}  // namespace

// Runs as the program constructs its QApplication.
Q_COREAPP_STARTUP_FUNCTION(InstallShownProbe)
