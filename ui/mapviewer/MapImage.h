#pragma once

#include <QImage>
#include <QWidget>

// Shows a picture stretched to the widget's own bounds, in both directions independently.
// Only the part being repainted is scaled, so zooming costs no memory.
class MapImage final : public QWidget
{
    Q_OBJECT

public:
    explicit MapImage(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return Shown; }
    // What the widget says while it has no picture.
    void SetEmptyText(const QString& text);
    const QString& EmptyText() const { return Empty; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage Shown;
    QString Empty;
};
